#pragma once

#include <QWidget>

class QCheckBox;

// The row under the pages: "&Autostart" on the left, "&Ausblenden", "&Info", "&Hilfe" and "&Ende"
// on the right, each button reported by its old index (1, 20, 21, 22).
class ButtonRow : public QWidget {
    Q_OBJECT
public:
    explicit ButtonRow(QWidget* parent);
    QCheckBox* autoStartCheck() const { return m_autoStart; }

signals:
    void clicked(int index);

private:
    QCheckBox* m_autoStart;
};
