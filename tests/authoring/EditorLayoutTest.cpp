// The link editor on a 1,280 × 800 screen, through the real window offscreen: every control of
// the header and of each of the three tabs lies inside the window, whole, with its caption
// shown, and the article text keeps room below them.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

#include <cstdlib>

#include "EditorFixture.h"

using namespace authoringtest;

namespace {

using EditorLayout = EditorTest;

// The controls a user works with that are shown, with their rectangle in the window.
std::vector<std::pair<QWidget*, QRect>> shownControls(QWidget* window)
{
    std::vector<std::pair<QWidget*, QRect>> out;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                             qobject_cast<QComboBox*>(w);
        if (!control || !w->isVisibleTo(window) || qobject_cast<QComboBox*>(w->parentWidget()))
            continue;
        if (!w->isVisible())
            continue;
        out.emplace_back(w, QRect(w->mapTo(window, QPoint(0, 0)), w->size()));
    }
    return out;
}

}  // namespace

TEST_F(EditorLayout, fitsA1280By800ScreenWithEveryControlReachable)
{
    writeStandardVolume();
    start();
    openOn(20);
    THyperLink* e = editor();
    ASSERT_NE(e, nullptr);
    // The screen less a title bar and a panel.
    const QSize screen(1280, 800 - 60);
    EXPECT_LE(e->minimumSizeHint().width(), screen.width());
    EXPECT_LE(e->minimumSizeHint().height(), screen.height());
    e->showNormal();
    e->resize(screen);
    QApplication::processEvents();
    ASSERT_EQ(e->size(), screen);

    for (int tab = 0; tab < e->PageControl1->count(); ++tab) {
        e->PageControl1->setCurrentIndex(tab);
        QApplication::processEvents();
        SCOPED_TRACE(e->PageControl1->tabText(tab).toStdString());
        const auto controls = shownControls(e);
        EXPECT_GT(controls.size(), 20u);
        for (const auto& [w, rect] : controls) {
            const std::string name = (w->objectName() + " " + w->property("text").toString()).toStdString();
            EXPECT_TRUE(e->rect().contains(rect)) << name << " at " << rect.x() << "," << rect.y() << " "
                                                  << rect.width() << "x" << rect.height();
            if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                const int caption = b->fontMetrics().horizontalAdvance(b->text());
                const int box = qobject_cast<QCheckBox*>(w) ? 16 : 0;
                EXPECT_LE(caption + box, b->width()) << name;
            }
        }
        // The article text keeps most of the window below the tab.
        EXPECT_GE(e->DBRichEdit1->height(), 200);
        if (const char* out = std::getenv("SORVANE_SCREENSHOT_DIR"))
            e->grab().save(QString::fromLocal8Bit(out) + QStringLiteral("/link-editor-%1.png").arg(tab));
    }
}
