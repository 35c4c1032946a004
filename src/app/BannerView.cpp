#include "app/BannerView.h"

#include "app/AfterFirstFrame.h"

#include "support/HelpAndBanner.h"
#include "support/Paths.h"
#include "support/ShellOpen.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QPixmap>
#include <QToolButton>
#include <QtEndian>

namespace {

// A PNG's size stands in its first bytes; asking the image readers would cost the start
// almost as much as reading the picture.
QSize pictureSize(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(24);
    if (head.size() == 24 && head.startsWith("\x89PNG\r\n\x1a\n") && head.mid(12, 4) == "IHDR")
        return QSize(qFromBigEndian<qint32>(head.constData() + 16),
                     qFromBigEndian<qint32>(head.constData() + 20));
    file.close();
    return QImageReader(path).size();
}

} // namespace

BannerView::BannerView(const QString& programFolder, QWidget* parent)
    : QWidget(parent), m_folder(programFolder) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Image1 = makeImage(QStringLiteral("Image1"), HelpAndBanner::MakerBannerFile,
                       QStringLiteral("Kurbelfon – Wählhilfe für Modem, Lautsprecher und Router"));
    Image2 = makeImage(QStringLiteral("Image2"), HelpAndBanner::PartnerBannerFile,
                       QStringLiteral("Günstig telefonieren: Call-by-Call-Tarife"));
    layout->addStretch();
    layout->addWidget(Image1);
    layout->addWidget(Image2);
    layout->addStretch();
    // One picture shows at a time; the window takes its fixed size before the choice is made.
    Image2->hide();
    connect(Image1, &QToolButton::clicked, this, [this] { OpenMakerSite(window()); });
    connect(Image2, &QToolButton::clicked, this, [this] { OpenPartnerSite(window()); });
}

QToolButton* BannerView::makeImage(const QString& name, const QString& file,
                                   const QString& fallback) {
    auto* image = new QToolButton(this);
    image->setObjectName(name);
    image->setAutoRaise(true);
    image->setFocusPolicy(Qt::NoFocus);
    image->setCursor(Qt::PointingHandCursor);
    image->setToolTip(fallback);
    const QString path = m_folder + file;
    // Only the size now, so the window takes its final size; the picture follows the first
    // frame, in a place kept empty for it.
    const QSize size = pictureSize(path);
    if (!size.isValid()) {
        image->setText(fallback); // a program folder without its pictures
        return image;
    }
    QPixmap placeholder(size);
    placeholder.fill(Qt::transparent);
    image->setIcon(placeholder);
    image->setIconSize(size);
    AfterFirstFrame::run(image, [image, path, fallback] {
        const QPixmap picture(path);
        if (picture.isNull())
            image->setText(fallback);
        else
            image->setIcon(picture);
    });
    return image;
}

void BannerView::ChooseBanner() {
    const QDate built = QFileInfo(Paths::ProgramPath()).lastModified().date();
    if (!HelpAndBanner::ShowsPartnerBanner(built, QDate::currentDate())) {
        Image2->hide();
        Image1->show();
        return;
    }
    // Both share one place in the layout, so Image2 takes Image1's place by taking its turn.
    Image1->hide();
    Image2->show();
}
