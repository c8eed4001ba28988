#pragma once
// The main window's What's New tab: usage tips, then the release notes. Fixed texts; it reads no
// model and changes nothing.

#include <QRectF>
#include <QString>
#include <QUuid>
#include <QWidget>

#include <vector>

namespace tolvane {

class WhatsNewTab : public QWidget {
public:
    struct Entry {
        QUuid id; // fresh for every tab made
        QString version;
        QString date;
        std::vector<QString> notes;
    };

    explicit WhatsNewTab(double s = 1.0, QWidget* parent = nullptr);

    const std::vector<Entry>& entries() const { return entries_; }
    const std::vector<QString>& tips() const { return tips_; }

    // Where each piece lands at a width, from the tab's top-left corner.
    struct Layout {
        QRectF tipsHeader;
        std::vector<QRectF> tipIcons;
        std::vector<QRectF> tipTexts;
        QRectF notesHeader;
        std::vector<QRectF> entryTitles; // the title row of each entry
        std::vector<std::vector<QRectF>> noteDots;
        std::vector<std::vector<QRectF>> noteTexts;
        double height = 0;
    };
    Layout layoutFor(double width) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    std::vector<Entry> entries_;
    std::vector<QString> tips_;
    double s_;
};

} // namespace tolvane
