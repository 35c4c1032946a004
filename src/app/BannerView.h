#pragma once

#include <QWidget>

class QToolButton;

// The main window's two banner pictures: Image1 the maker's, Image2 the partner's. One of
// them shows, chosen by the age of the executable; a click opens its web page.
class BannerView : public QWidget {
    Q_OBJECT
public:
    explicit BannerView(const QString& programFolder, QWidget* parent = nullptr);

    // Image2 in Image1's place while the executable is at most 60 days old, else Image1.
    void ChooseBanner();

    QToolButton* Image1 = nullptr;
    QToolButton* Image2 = nullptr;

private:
    QToolButton* makeImage(const QString& name, const QString& file, const QString& fallback);

    QString m_folder;
};
