#pragma once

#include <QListView>

class CardModel;

// The name list of one card. It turns the mouse and keys into the few requests the main
// window acts on; selection and scrolling stay the list's own.
class CardListView : public QListView {
    Q_OBJECT
public:
    static const QString ToolTip;

    CardListView(int card, CardModel* model, QWidget* parent = nullptr);

    int card() const { return m_card; }
    // The selected row, or -1.
    int selectedRow() const;

signals:
    void entrySelected(int card, int row);
    void dialRequested(int card);
    void popupRequested(int card, const QPoint& globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    int m_card;
};
