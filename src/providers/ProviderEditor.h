#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TimeSlider;

// "Anbieterliste": enters or changes one provider row. It only edits the fields; what "&OK"
// does to the list is up to the caller, who reads the fields after exec() returned Accepted.
// The hour range is set on one slider: a plain move sets the start (and collapses the range),
// a move after a press with Shift, Ctrl or Alt held sets the end.
class ProviderEditor : public QDialog {
    Q_OBJECT
public:
    // The hours come first: the dialog shows them as it is built.
    ProviderEditor(int startHour, int endHour, QWidget* parent = nullptr);

    // dayCode 1 "Mo - Fr", 2 "Sa - So", 3 "immer"; 0 selects "Mo - Fr". A flag counts when
    // not 0.
    void setProvider(const QString& name, const QString& networkNumber, int dayCode, int local,
                     int longDistance, int abroad);

    QString name() const;
    QString networkNumber() const;
    int moFrFlag() const;
    int saSoFlag() const;
    int localFlag() const;
    int longDistanceFlag() const;
    int abroadFlag() const;
    int EditStartHour() const { return m_editStartHour; }
    int EditEndHour() const { return m_editEndHour; }
    bool ExtendRange() const { return m_extendRange; }

private:
    QWidget* buildFrame();
    void Form_Load();
    void TimeSlider_MouseDown(Qt::KeyboardModifiers modifiers);
    void TimeSlider_Scroll();
    void showRange();

    int m_editStartHour;
    int m_editEndHour;
    bool m_extendRange = false;

    std::array<QLineEdit*, 2> m_text1{};      // Text1(0) name, Text1(1) network number
    std::array<QRadioButton*, 4> m_optTage{}; // OptTage(1..3), index 0 unused
    QLabel* m_timeLbl = nullptr;
    TimeSlider* m_timeSlider = nullptr;
    std::array<QCheckBox*, 4> m_chkWeite{}; // ChkWeite(1..3), index 0 unused
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
