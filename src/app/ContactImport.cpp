#include "app/ContactImport.h"

#include "app/CardListView.h"

#include "contacts/ContactEntries.h"
#include "contacts/VCardReader.h"
#include "contacts/VCardWriter.h"
#include "register/CardModel.h"
#include "register/PhoneRegister.h"
#include "support/UserMessage.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMimeData>
#include <QSaveFile>
#include <QUrl>

namespace {

const QString ImportTitle = QStringLiteral("Kontakte importieren");
// A vCard dragged out of an address book comes as one of these.
const QStringList VCardFormats{QStringLiteral("text/vcard"), QStringLiteral("text/x-vcard"),
                               QStringLiteral("text/directory")};
// No address book export comes near this; a bigger file is a mistake.
constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

QStringList vcardFiles(const QMimeData* mime) {
    QStringList paths;
    for (const QUrl& url : mime->urls()) {
        const QString path = url.toLocalFile();
        if (path.endsWith(QStringLiteral(".vcf"), Qt::CaseInsensitive) ||
            path.endsWith(QStringLiteral(".vcard"), Qt::CaseInsensitive))
            paths << path;
    }
    return paths;
}

} // namespace

ContactImport::ContactImport(PhoneRegister* phoneRegister, std::function<bool()> save,
                             QWidget* window)
    : QObject(window), m_register(phoneRegister), m_save(std::move(save)), m_window(window) {}

void ContactImport::acceptDropsOn(const std::array<CardListView*, 4>& lists) {
    for (CardListView* list : lists) {
        list->setAcceptDrops(true);
        list->viewport()->setAcceptDrops(true);
        list->viewport()->setProperty("kurbelfonCard", list->card());
        list->viewport()->installEventFilter(this);
    }
}

bool ContactImport::holdsContacts(const QMimeData* mime) {
    if (!mime)
        return false;
    for (const QString& format : VCardFormats) {
        if (mime->hasFormat(format))
            return true;
    }
    return !vcardFiles(mime).isEmpty();
}

bool ContactImport::eventFilter(QObject* watched, QEvent* event) {
    const int card = watched->property("kurbelfonCard").toInt();
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (!holdsContacts(drag->mimeData()))
            return false;
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto* dropEvent = static_cast<QDropEvent*>(event);
        if (!holdsContacts(dropEvent->mimeData()))
            return false;
        dropEvent->setDropAction(Qt::CopyAction);
        dropEvent->accept();
        drop(card, dropEvent->mimeData());
        return true;
    }
    default:
        return false;
    }
}

void ContactImport::drop(int card, const QMimeData* mime) {
    const QStringList files = vcardFiles(mime);
    if (!files.isEmpty()) {
        importFiles(card, files);
        return;
    }
    for (const QString& format : VCardFormats) {
        if (mime->hasFormat(format)) {
            importText(card, mime->data(format));
            return;
        }
    }
}

void ContactImport::chooseAndImport(int startCard) {
    emit modalDialogOpenChanged(true);
    const QStringList files =
        QFileDialog::getOpenFileNames(m_window, ImportTitle, QDir::homePath(),
                                      QStringLiteral("vCard-Dateien (*.vcf *.vcard);;"
                                                     "Alle Dateien (*)"));
    int card = 0;
    if (!files.isEmpty()) {
        QStringList cards;
        for (const QString& name : m_register->cardNames)
            cards << name;
        bool chosen = false;
        const QString answer = QInputDialog::getItem(
            m_window, ImportTitle, QStringLiteral("Auf welche Karte?"), cards,
            qBound(0, startCard - 1, PhoneRegister::CardCount - 1), false, &chosen);
        if (chosen)
            card = int(cards.indexOf(answer)) + 1;
    }
    emit modalDialogOpenChanged(false);
    if (card >= 1)
        importFiles(card, files);
}

void ContactImport::importFiles(int card, const QStringList& paths) {
    QByteArray all;
    QStringList problems;
    for (const QString& path : paths) {
        QFile file(path);
        const QString shown = QFileInfo(path).fileName();
        if (file.size() > MaxFileBytes) {
            problems << shown + QStringLiteral(": Die Datei ist zu groß.");
            continue;
        }
        if (!file.open(QIODevice::ReadOnly)) {
            problems << shown + QStringLiteral(": Die Datei lässt sich nicht lesen.");
            continue;
        }
        all += file.readAll() + '\n';
    }
    importText(card, all, problems);
}

void ContactImport::importText(int card, const QByteArray& vcards, QStringList problems) {
    importContacts(card, ReadVCards(vcards), std::move(problems));
}

void ContactImport::importContacts(int card, const QList<VCardContact>& contacts,
                                   QStringList problems) {
    CardModel* model = m_register->card(card);
    QStringList existing;
    for (int row = 0; row < model->count(); ++row)
        existing << model->line(row);
    ContactEntries entries =
        EntriesFromContacts(contacts, m_register->settings.OwnCountryCode, existing);
    entries.skipped = problems + entries.skipped;
    for (const QString& line : entries.lines)
        model->addLine(line);
    if (!entries.lines.isEmpty())
        m_save();
    emit modalDialogOpenChanged(true);
    UserMessage::information(m_window, ImportReport(entries));
    emit modalDialogOpenChanged(false);
}

void ContactImport::saveAsVCard(int card) {
    const QString cardName = m_register->cardNames.at(card - 1);
    emit modalDialogOpenChanged(true);
    const QString path =
        QFileDialog::getSaveFileName(m_window, QStringLiteral("Karte als vCard speichern"),
                                     QDir::home().filePath(cardName + QStringLiteral(".vcf")),
                                     QStringLiteral("vCard-Dateien (*.vcf)"));
    emit modalDialogOpenChanged(false);
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(WriteVCards(m_register->card(card)->lines())) < 0 || !file.commit())
        UserMessage::error(m_window, QStringLiteral("Die Karte konnte nicht gespeichert werden:"
                                                    "\r%1\r%2")
                                         .arg(path, file.errorString()));
}
