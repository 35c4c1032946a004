#include "providers/TimeSlider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

TimeSlider::TimeSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

void TimeSlider::setSelectionStart(int value) {
    m_selectionStart = value;
    update();
}

void TimeSlider::setSelectionLength(int length) {
    m_selectionLength = length;
    update();
}

void TimeSlider::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->modifiers());
    QSlider::mousePressEvent(event);
}

void TimeSlider::keyPressEvent(QKeyEvent* event) {
    // Shift or Ctrl with the arrow keys extend the range as they do with the mouse.
    emit pressed(event->modifiers());
    QSlider::keyPressEvent(event);
}

void TimeSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);
    if (isSliderDown()) {
        option.activeSubControls = QStyle::SC_SliderHandle;
        option.state |= QStyle::State_Sunken;
    }

    // The range lies on the groove and under the thumb. Some styles fill the groove up to
    // the thumb in the highlight colour: that fill is toned down so only the range stands out.
    QStyleOptionSlider grooveOption = option;
    grooveOption.subControls = QStyle::SC_SliderGroove;
    if (tickPosition() != NoTicks)
        grooveOption.subControls |= QStyle::SC_SliderTickmarks;
    grooveOption.palette.setColor(QPalette::Highlight,
                                  option.palette.color(QPalette::Window).darker(115));
    style()->drawComplexControl(QStyle::CC_Slider, &grooveOption, &painter, this);
    if (m_selectionLength > 0) {
        const QRect groove =
            style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
        const QRect handle =
            style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
        const int span = groove.width() - handle.width();
        auto xOf = [&](int value) {
            return groove.x() + handle.width() / 2 +
                   QStyle::sliderPositionFromValue(minimum(), maximum(), value, span,
                                                   option.upsideDown);
        };
        const int from = xOf(m_selectionStart);
        const int to = xOf(m_selectionStart + m_selectionLength);
        const int height = qMax(4, groove.height() / 2);
        painter.fillRect(
            QRect(qMin(from, to), groove.center().y() - height / 2 + 1, qAbs(to - from), height),
            palette().color(QPalette::Highlight));
    }
    option.subControls = QStyle::SC_SliderHandle;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
}
