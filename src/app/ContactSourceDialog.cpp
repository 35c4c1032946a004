#include "app/ContactSourceDialog.h"

#include "router/RouterMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QComboBox* makeBooks(QWidget* parent, const QString& objectName, const QString& key,
                     const QString& name) {
    auto* books = new QComboBox(parent);
    books->setObjectName(objectName);
    books->setMinimumContentsLength(30);
    books->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // The last book chosen, so that "OK" fetches from it again without a search.
    if (!key.isEmpty() && !name.isEmpty())
        books->addItem(name, key);
    return books;
}

QString hostOf(const QString& address) {
    return QUrl::fromUserInput(address).host();
}

} // namespace

ContactSourceDialog::ContactSourceDialog(const ContactSourceSettings& last, QWidget* parent)
    : QDialog(parent), m_last(last) {
    setObjectName(QStringLiteral("ContactSourceDialog"));
    setWindowTitle(QStringLiteral("Kontakte holen"));
    m_router = new QRadioButton(QStringLiteral("Telefonbuch des &Routers"), this);
    m_router->setObjectName(QStringLiteral("ContactSourceRouter"));
    m_routerBooks =
        makeBooks(this, QStringLiteral("ContactRouterBooks"),
                  last.routerBookName.isEmpty() ? QString() : QString::number(last.routerBookId),
                  last.routerBookName);
    m_cardDav = new QRadioButton(QStringLiteral("&CardDAV-Adressbuch"), this);
    m_cardDav->setObjectName(QStringLiteral("ContactSourceCardDav"));
    m_address = new QLineEdit(last.cardDavAddress, this);
    m_address->setObjectName(QStringLiteral("CardDavAddress"));
    m_address->setPlaceholderText(QStringLiteral("https://server/… oder nur der Server"));
    m_user = new QLineEdit(last.cardDavUser, this);
    m_user->setObjectName(QStringLiteral("CardDavUser"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("CardDavPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    if (!last.cardDavUser.isEmpty())
        m_password->setPlaceholderText(QStringLiteral("(gespeichert, falls leer)"));
    m_plainHttp = new QCheckBox(QStringLiteral("Nur &HTTP, ohne Verschlüsselung"), this);
    m_plainHttp->setObjectName(QStringLiteral("CardDavPlainHttp"));
    m_plainHttp->setChecked(last.cardDavPlainHttp);
    m_plainWarning = new QLabel(RouterMessages::PlainHttpWarning, this);
    m_plainWarning->setWordWrap(true);
    m_plainWarning->setStyleSheet(QStringLiteral("color: #b00000"));
    m_plainWarning->setVisible(last.cardDavPlainHttp);
    m_search = new QPushButton(QStringLiteral("&Suchen"), this);
    m_search->setObjectName(QStringLiteral("CardDavSearch"));
    m_search->setAutoDefault(false);
    m_cardDavBooks =
        makeBooks(this, QStringLiteral("CardDavBooks"), last.cardDavBookUrl, last.cardDavBookName);
    m_status = new QLabel(this);
    m_status->setTextFormat(Qt::PlainText);

    // One form for both sources: their fields line up.
    auto* form = new QFormLayout;
    form->addRow(m_router);
    form->addRow(QStringLiteral("&Telefonbuch"), m_routerBooks);
    form->addRow(m_cardDav);
    form->addRow(QStringLiteral("A&dresse"), m_address);
    form->addRow(QStringLiteral("&Benutzer"), m_user);
    form->addRow(QStringLiteral("&Kennwort"), m_password);
    form->addRow(QString(), m_plainHttp);
    form->addRow(QString(), m_plainWarning);
    auto* bookRow = new QHBoxLayout;
    bookRow->addWidget(m_cardDavBooks, 1);
    bookRow->addWidget(m_search);
    auto* bookLabel = new QLabel(QStringLiteral("Adressb&uch"), this);
    bookLabel->setBuddy(m_cardDavBooks);
    form->addRow(bookLabel, bookRow);
    // The fields of the other source are greyed; their labels stay readable.
    m_routerPart = {m_routerBooks};
    m_cardDavPart = {m_address,      m_user,   m_password,    m_plainHttp,
                     m_plainWarning, m_search, m_cardDavBooks};

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_status);
    layout->addWidget(buttons);

    QRadioButton* kind = last.kind == ContactSourceSettings::Kind::CardDav ? m_cardDav : m_router;
    kind->setChecked(true);
    chooseKind(false);
    // The arrow keys choose the other source from here.
    kind->setFocus();
    connect(m_router, &QRadioButton::toggled, this, [this] { chooseKind(true); });
    connect(m_plainHttp, &QCheckBox::toggled, this, [this](bool on) {
        m_plainWarning->setVisible(on);
        // Taller for the warning rather than squeezing the rows.
        if (height() < sizeHint().height())
            resize(width(), sizeHint().height());
    });
    for (QLineEdit* field : {m_address, m_user})
        connect(field, &QLineEdit::textEdited, this, &ContactSourceDialog::forgetCardDavBooks);
    connect(m_plainHttp, &QCheckBox::toggled, this, &ContactSourceDialog::forgetCardDavBooks);
    connect(m_search, &QPushButton::clicked, this, [this] {
        if (!isBusy())
            emit booksWanted(false);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &ContactSourceDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void ContactSourceDialog::chooseKind(bool byUser) {
    for (QWidget* widget : std::as_const(m_routerPart))
        widget->setEnabled(routerChosen());
    for (QWidget* widget : std::as_const(m_cardDavPart))
        widget->setEnabled(!routerChosen());
    if (!byUser)
        return;
    // After the radio button's own handling of the key, which keeps the focus.
    QWidget* next = routerChosen()                ? m_routerBooks
                    : m_address->text().isEmpty() ? static_cast<QWidget*>(m_address)
                                                  : m_cardDavBooks;
    QMetaObject::invokeMethod(next, qOverload<>(&QWidget::setFocus), Qt::QueuedConnection);
    if (routerChosen() && !m_routerBooksListed && !isBusy())
        emit booksWanted(false);
}

void ContactSourceDialog::forgetCardDavBooks() {
    m_cardDavBooks->clear();
}

bool ContactSourceDialog::routerChosen() const {
    return m_router->isChecked();
}

QString ContactSourceDialog::typedPassword() const {
    return m_password->text();
}

ContactSourceSettings ContactSourceDialog::source() const {
    ContactSourceSettings s = m_last;
    s.kind =
        routerChosen() ? ContactSourceSettings::Kind::Router : ContactSourceSettings::Kind::CardDav;
    if (m_routerBooks->currentIndex() >= 0) {
        s.routerBookId = m_routerBooks->currentData().toInt();
        s.routerBookName = m_routerBooks->currentText();
    }
    s.cardDavAddress = m_address->text().trimmed();
    s.cardDavUser = m_user->text().trimmed();
    s.cardDavPlainHttp = m_plainHttp->isChecked();
    s.cardDavBookUrl = m_cardDavBooks->currentData().toString();
    s.cardDavBookName = m_cardDavBooks->currentText();
    // Another server has another certificate.
    if (hostOf(s.cardDavAddress) != hostOf(m_last.cardDavAddress))
        s.cardDavCertificateSha256.clear();
    return s;
}

void ContactSourceDialog::showBooks(const QList<Book>& books) {
    QComboBox* list = routerChosen() ? m_routerBooks : m_cardDavBooks;
    m_routerBooksListed = m_routerBooksListed || routerChosen();
    const QString before = list->currentData().toString();
    list->clear();
    for (const Book& book : books)
        list->addItem(book.name, book.key);
    list->setCurrentIndex(qMax(0, list->findData(before)));
    list->setFocus();
}

void ContactSourceDialog::setCertificate(const QString& sha256Hex) {
    m_last.cardDavAddress = m_address->text().trimmed();
    m_last.cardDavCertificateSha256 = sha256Hex;
}

void ContactSourceDialog::setBusy(const QString& doing) {
    m_busy = !doing.isEmpty();
    m_status->setText(doing);
    m_search->setEnabled(doing.isEmpty() && !routerChosen());
    // The answer belongs to the source it was asked of.
    m_router->setEnabled(doing.isEmpty());
    m_cardDav->setEnabled(doing.isEmpty());
    setCursor(doing.isEmpty() ? Qt::ArrowCursor : Qt::BusyCursor);
}

void ContactSourceDialog::askForPassword() {
    m_password->setFocus();
}

void ContactSourceDialog::accept() {
    if (isBusy())
        return;
    if (!routerChosen() && m_address->text().trimmed().isEmpty()) {
        m_address->setFocus();
        return;
    }
    if ((routerChosen() ? m_routerBooks : m_cardDavBooks)->currentIndex() < 0)
        emit booksWanted(true);
    else
        emit contactsWanted();
}
