#pragma once

#include <QObject>
#include <array>
#include <functional>

class CardListView;
struct VCardContact;
class PhoneRegister;
class QMimeData;
class QWidget;

// Contacts from vCard files onto a card: dropped on a card's list, or chosen in a file dialog
// from the options page's button; or fetched from an address book. Everything comes in through one
// save; one message tells what came in and what did not. And a card out again as a vCard file.
class ContactImport : public QObject {
    Q_OBJECT
public:
    // save: writes the register (and tells the user when that fails).
    ContactImport(PhoneRegister* phoneRegister, std::function<bool()> save, QWidget* window);

    // lists: the four cards' lists.
    void acceptDropsOn(const std::array<CardListView*, 4>& lists);
    // Asks for files and for the card; startCard is offered first.
    void chooseAndImport(int startCard);
    void importFiles(int card, const QStringList& paths);
    void importText(int card, const QByteArray& vcards, QStringList problems = {});
    // Contacts read whole from an address book or the router.
    void importContacts(int card, const QList<VCardContact>& contacts, QStringList problems = {});

    // Asks where, and writes the card's entries there as vCards.
    void saveAsVCard(int card);

    static bool holdsContacts(const QMimeData* mime);

signals:
    void modalDialogOpenChanged(bool open);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void drop(int card, const QMimeData* mime);

    PhoneRegister* m_register;
    std::function<bool()> m_save;
    QWidget* m_window;
};
