#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <functional>

// Answers the modal windows that pop up during a test: each one is recorded (title and
// text) and handed to the next queued answer; without one, message boxes get their default.
class ModalWatcher : public QObject {
public:
    using Answer = std::function<void(QWidget*)>;

    ModalWatcher() {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, &ModalWatcher::poll);
        m_timer.start();
    }

    void queue(Answer answer) { m_answers.append(std::move(answer)); }
    // Presses the message box button with this standard role.
    void queueButton(QMessageBox::StandardButton button) {
        queue([button](QWidget* w) {
            if (auto* box = qobject_cast<QMessageBox*>(w))
                box->button(button)->click();
        });
    }

    QStringList titles;
    QStringList texts;
    QStringList buttonTexts; // per box, its buttons joined by "|"
    QList<QMessageBox::StandardButton> defaults;
    QList<Qt::TextFormat> formats;

private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == m_lastSeen || !modal->isVisible())
            return;
        m_lastSeen = modal;
        titles << modal->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            texts << box->text();
            formats << box->textFormat();
            QStringList labels;
            for (QAbstractButton* b : box->buttons())
                labels << b->text();
            buttonTexts << labels.join(QLatin1Char('|'));
            defaults << box->standardButton(box->defaultButton());
        } else {
            texts << QString();
            formats << Qt::PlainText;
            buttonTexts << QString();
            defaults << QMessageBox::NoButton;
        }
        QPointer<QWidget> guard(modal);
        if (!m_answers.isEmpty()) {
            Answer answer = m_answers.takeFirst();
            QTimer::singleShot(0, modal, [answer, guard] {
                if (guard)
                    answer(guard);
            });
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            QTimer::singleShot(0, box, [box] { box->defaultButton()->click(); });
        }
    }

    QTimer m_timer;
    QList<Answer> m_answers;
    QPointer<QWidget> m_lastSeen;
};
