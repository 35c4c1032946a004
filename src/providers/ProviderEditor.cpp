#include "providers/ProviderEditor.h"

#include "providers/ProviderEntry.h"
#include "providers/ProviderMessages.h"
#include "providers/TimeSlider.h"
#include "support/Cp1252Validator.h"
#include "support/EditorKeys.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int LastHour = 24;

} // namespace

ProviderEditor::ProviderEditor(int startHour, int endHour, QWidget* parent)
    : QDialog(parent), m_editStartHour(startHour), m_editEndHour(endHour) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(ProviderMessages::EditorTitle);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    // Modal to the main window only: the tray icon must still get its clicks to refuse them.
    setWindowModality(Qt::WindowModal);

    QHBoxLayout* buttons = EditorKeys::makeButtonRow(this, &m_ok, &m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildFrame());
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QList<QWidget*> order{m_text1[0],    m_text1[1],   m_optTage[1],  m_optTage[2],
                          m_optTage[3],  m_timeSlider, m_chkWeite[1], m_chkWeite[2],
                          m_chkWeite[3], m_ok,         m_cancel};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order.at(i), order.at(i + 1));

    new EditorKeys(this, {m_text1[0], m_text1[1]}, m_ok, m_cancel);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    Form_Load();
    connect(m_timeSlider, &TimeSlider::pressed, this, &ProviderEditor::TimeSlider_MouseDown);
    connect(m_timeSlider, &QSlider::valueChanged, this, &ProviderEditor::TimeSlider_Scroll);
    m_text1[0]->setFocus();
}

QWidget* ProviderEditor::buildFrame() {
    auto* frame = new QGroupBox(ProviderMessages::EditorFrame, this);
    frame->setObjectName(QStringLiteral("Frame2"));
    auto* grid = new QGridLayout(frame);
    auto addRow = [grid, frame](int row, const QString& label, QLayout* controls) {
        grid->addWidget(new QLabel(label, frame), row, 0);
        grid->addLayout(controls, row, 1);
    };

    for (int index = 0; index < 2; ++index) {
        m_text1[size_t(index)] = new QLineEdit(frame);
        m_text1[size_t(index)]->setObjectName(QStringLiteral("Text1_%1").arg(index));
        // The file could not hold what Windows-1252 lacks: refused where it is typed.
        m_text1[size_t(index)]->setValidator(new Cp1252Validator(m_text1[size_t(index)]));
    }
    auto* name = new QHBoxLayout;
    name->addWidget(m_text1[0]);
    addRow(0, QStringLiteral("Name:"), name);
    auto* number = new QHBoxLayout;
    number->addWidget(m_text1[1]);
    addRow(1, QStringLiteral("Netz- nummer:"), number);

    auto* days = new QHBoxLayout;
    const QStringList dayCaptions{QStringLiteral("Mo - Fr"), QStringLiteral("Sa - So"),
                                  QStringLiteral("immer")};
    for (int index = 1; index <= 3; ++index) {
        m_optTage[size_t(index)] = new QRadioButton(dayCaptions.at(index - 1), frame);
        m_optTage[size_t(index)]->setObjectName(QStringLiteral("OptTage_%1").arg(index));
        days->addWidget(m_optTage[size_t(index)]);
    }
    addRow(2, QStringLiteral("Zeitraum: (Tage)"), days);

    auto* hours = new QHBoxLayout;
    m_timeLbl = new QLabel(frame);
    m_timeLbl->setObjectName(QStringLiteral("TimeLbl"));
    m_timeLbl->setMinimumWidth(
        m_timeLbl->fontMetrics().horizontalAdvance(FormatHourRange(LastHour, LastHour)) + 8);
    m_timeSlider = new TimeSlider(frame);
    m_timeSlider->setObjectName(QStringLiteral("TimeSlider"));
    m_timeSlider->setToolTip(ProviderMessages::SliderToolTip);
    m_timeSlider->setRange(0, LastHour);
    m_timeSlider->setSingleStep(1);
    m_timeSlider->setPageStep(1);
    m_timeSlider->setTickInterval(1);
    m_timeSlider->setTickPosition(QSlider::TicksBelow);
    m_timeSlider->setMinimumWidth(240);
    hours->addWidget(m_timeLbl);
    hours->addWidget(m_timeSlider, 1);
    addRow(3, QStringLiteral("Zeitraum: (Stunden)"), hours);

    auto* types = new QHBoxLayout;
    const QStringList typeCaptions{QStringLiteral("Nah"), QStringLiteral("Fern"),
                                   QStringLiteral("Ausland")};
    for (int index = 1; index <= 3; ++index) {
        m_chkWeite[size_t(index)] = new QCheckBox(typeCaptions.at(index - 1), frame);
        m_chkWeite[size_t(index)]->setObjectName(QStringLiteral("ChkWeite_%1").arg(index));
        types->addWidget(m_chkWeite[size_t(index)]);
    }
    addRow(4, QStringLiteral("Typ des Anrufs:"), types);
    return frame;
}

void ProviderEditor::Form_Load() {
    m_timeSlider->setValue(m_editEndHour);
    m_timeSlider->setSelectionStart(m_editStartHour);
    m_timeSlider->setSelectionLength(m_editEndHour - m_editStartHour);
    m_timeLbl->setText(FormatHourRange(m_editStartHour, m_editEndHour));
}

void ProviderEditor::setProvider(const QString& name, const QString& networkNumber, int dayCode,
                                 int local, int longDistance, int abroad) {
    m_text1[0]->setText(name);
    m_text1[1]->setText(networkNumber);
    // An empty day range (from a hand-edited file) stays empty unless the user picks one.
    if (dayCode >= 1 && dayCode <= 3)
        m_optTage[size_t(dayCode)]->setChecked(true);
    m_chkWeite[1]->setChecked(local != 0);
    m_chkWeite[2]->setChecked(longDistance != 0);
    m_chkWeite[3]->setChecked(abroad != 0);
    m_text1[0]->setFocus();
}

void ProviderEditor::TimeSlider_MouseDown(Qt::KeyboardModifiers modifiers) {
    m_extendRange =
        modifiers.testAnyFlags(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
}

void ProviderEditor::TimeSlider_Scroll() {
    if (m_extendRange) {
        m_editEndHour = m_timeSlider->value();
        // Dragged below the start: the start goes along.
        if (m_editEndHour < m_editStartHour)
            m_editStartHour = m_editEndHour;
    } else {
        m_editStartHour = m_timeSlider->value();
        m_editEndHour = m_editStartHour;
    }
    showRange();
}

void ProviderEditor::showRange() {
    m_timeSlider->setSelectionStart(m_editStartHour);
    m_timeSlider->setSelectionLength(m_editEndHour - m_editStartHour);
    m_timeLbl->setText(FormatHourRange(m_editStartHour, m_editEndHour));
}

QString ProviderEditor::name() const {
    return m_text1[0]->text();
}
QString ProviderEditor::networkNumber() const {
    return m_text1[1]->text();
}
int ProviderEditor::moFrFlag() const {
    return m_optTage[1]->isChecked() || m_optTage[3]->isChecked() ? 1 : 0;
}
int ProviderEditor::saSoFlag() const {
    return m_optTage[2]->isChecked() || m_optTage[3]->isChecked() ? 1 : 0;
}
int ProviderEditor::localFlag() const {
    return m_chkWeite[1]->isChecked() ? 1 : 0;
}
int ProviderEditor::longDistanceFlag() const {
    return m_chkWeite[2]->isChecked() ? 1 : 0;
}
int ProviderEditor::abroadFlag() const {
    return m_chkWeite[3]->isChecked() ? 1 : 0;
}
