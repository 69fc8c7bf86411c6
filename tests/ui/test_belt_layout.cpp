#include "test_belt_support.h"

#include "ui/belt/f_graf_mat.h"
#include "ui/common/TDBText.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionGroupBox>

#include <map>

namespace zrn::ui::test {

namespace {

//! Where a widget lies in the coordinates of window.
QRect RectIn(const QWidget& widget, const QWidget& window) {
    return QRect(widget.mapTo(&window, QPoint(0, 0)), widget.size());
}

//! The texts of window that do not fit their place: a label narrower or lower than its
//! text, a group heading wider than its group, a control that sticks out of the window.
QStringList Clipped(QWidget& window) {
    QStringList clipped;
    const QRect inside = window.rect();
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&window) || label->text().isEmpty() || label->wordWrap())
            continue;
        const QSize needed = label->sizeHint();
        if (label->width() < needed.width() || label->height() < needed.height() ||
            !inside.contains(RectIn(*label, window)))
            clipped << QStringLiteral("label '%1' %2x%3 needs %4x%5")
                           .arg(label->text())
                           .arg(label->width())
                           .arg(label->height())
                           .arg(needed.width())
                           .arg(needed.height());
    }
    for (QGroupBox* group : window.findChildren<QGroupBox*>()) {
        if (!group->isVisibleTo(&window))
            continue;
        const int title = group->fontMetrics().horizontalAdvance(group->title()) + 16;
        if (group->width() < title || !inside.contains(RectIn(*group, window)))
            clipped << QStringLiteral("group '%1'").arg(group->title());
    }
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->isVisibleTo(&window))
            continue;
        if (!qobject_cast<QLineEdit*>(control) && !qobject_cast<QComboBox*>(control) &&
            !qobject_cast<QAbstractButton*>(control))
            continue;
        if (control->width() < control->minimumSizeHint().width() ||
            !inside.contains(RectIn(*control, window)))
            clipped << QStringLiteral("control %1").arg(control->objectName());
        if (auto* combo = qobject_cast<QComboBox*>(control)) {
            const int text = combo->fontMetrics().horizontalAdvance(combo->currentText());
            if (combo->width() < text + 24)
                clipped << QStringLiteral("combo %1 '%2'")
                               .arg(combo->objectName(), combo->currentText());
        }
    }
    return clipped;
}

//! Saves a picture of a window for the documentation when a folder is asked for.
void Picture(QWidget& window, const QString& name) {
    const QString folder = qEnvironmentVariable("ZRN_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    window.grab().save(QDir(folder).filePath(name));
}

} // namespace

//! The three belt windows with a typed project, at their default sizes, in every delivered
//! language and both unit systems.
class BeltLayout : public BeltWindowTest,
                   public ::testing::WithParamInterface<std::pair<const char*, bool>> {};

TEST_P(BeltLayout, EveryLabelValueAndUnitFitsAtTheDefaultSize) {
    const auto [language, imperial] = GetParam();
    TypeProject();
    W().act_results->trigger();
    Settle();
    TMat_uitvoer* results = W().ExistingResultsWindow();
    ASSERT_NE(results, nullptr);
    results->act_graph->trigger();
    Settle();
    Tfrm_graf_mat* graph = results->ExistingGraphWindow();
    ASSERT_NE(graph, nullptr);

    taal_.SetTaal(language);
    taal_.SetEenheid(imperial ? lang::ehImperial : lang::ehMetrisch);
    Settle();
    // Each window at the size it takes by itself.
    for (QWidget* window : {static_cast<QWidget*>(&W()), static_cast<QWidget*>(results)}) {
        window->resize(window->sizeHint());
        Settle();
        EXPECT_GE(window->width(), window->minimumSizeHint().width());
        const QStringList clipped = Clipped(*window);
        EXPECT_TRUE(clipped.isEmpty()) << window->objectName().toStdString() << ": "
                                       << clipped.join(QStringLiteral("; ")).toStdString();
    }
    // Every load-table title fits its column.
    QHeaderView* header = results->grd_load->horizontalHeader();
    for (int column = 0; column < header->count(); ++column)
        EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column)) << column;
    QHeaderView* zones = W().grd_zones->horizontalHeader();
    for (int column = 0; column < zones->count(); ++column)
        EXPECT_GE(zones->sectionSize(column), zones->sectionSizeHint(column)) << column;

    const std::map<std::string, QString> shortNames = {
        {"engels", "en"},    {"nederlands", "nl"}, {"duits", "de"},    {"frans", "fr"},
        {"italiaans", "it"}, {"spaans", "es"},     {"portugees", "pt"}};
    // The English pictures are metric; every other language has one unit system here.
    const bool englishImperial = std::string(language) == "engels" && imperial;
    const QString suffix = QStringLiteral("-%1%2.png")
                               .arg(shortNames.at(language))
                               .arg(englishImperial ? QStringLiteral("-imperial") : QString());
    Picture(W(), QStringLiteral("belt-input") + suffix);
    Picture(*results, QStringLiteral("belt-results") + suffix);
    Picture(*graph, QStringLiteral("belt-graph") + suffix);
}

INSTANTIATE_TEST_SUITE_P(Languages, BeltLayout,
                         ::testing::Values(std::pair{"engels", false}, std::pair{"engels", true},
                                           std::pair{"nederlands", false}, std::pair{"duits", true},
                                           std::pair{"frans", true}, std::pair{"italiaans", false},
                                           std::pair{"spaans", true},
                                           std::pair{"portugees", false}),
                         [](const ::testing::TestParamInfo<std::pair<const char*, bool>>& info) {
                             return std::string(info.param.first) +
                                    (info.param.second ? "Imperial" : "Metric");
                         });

} // namespace zrn::ui::test
