#include "ui/app/ImageList.h"

#include "ui/app/SvgIconEngine.h"

// Pictures live in a static library, whose resource initialiser the linker would drop
// unless something calls it.
static void InitAppImages() {
    Q_INIT_RESOURCE(app_images);
}

namespace zrn::ui {

namespace {

QString Resource(const char* name) {
    return QStringLiteral(":/zrn/") + QLatin1String(name);
}

} // namespace

ImageList::ImageList(QSize glyphSize, std::map<int, QString> resources)
    : glyphSize_(glyphSize), resources_(std::move(resources)) {
    InitAppImages();
}

QIcon ImageList::icon(int index) const {
    auto it = resources_.find(index);
    if (it == resources_.end())
        return {};
    return QIcon(new SvgIconEngine(it->second));
}

ImageList ImageList::MainImages() {
    return ImageList(QSize(17, 17), {
                                        {Print, Resource("icons/main/print.svg")},
                                        {Maintenance, Resource("icons/main/maintenance.svg")},
                                        {Close, Resource("icons/main/close.svg")},
                                        {Copy, Resource("icons/main/copy.svg")},
                                        {Reset, Resource("icons/main/reset.svg")},
                                        {Results, Resource("icons/main/results.svg")},
                                        {Load, Resource("icons/main/load.svg")},
                                        {Save, Resource("icons/main/save.svg")},
                                        {AddToReport, Resource("icons/main/add_to_report.svg")},
                                        {Columnar, Resource("icons/main/columnar.svg")},
                                        {AddToColumnar, Resource("icons/main/add_to_columnar.svg")},
                                        {SaveAs, Resource("icons/main/save_as.svg")},
                                        {Graph, Resource("icons/main/graph.svg")},
                                        {Export, Resource("icons/main/export.svg")},
                                    });
}

ImageList ImageList::ModuleImages() {
    return ImageList(QSize(25, 25), {
                                        {Belt, Resource("icons/modules/belt.svg")},
                                        {Chain, Resource("icons/modules/chain.svg")},
                                        {Flexbelt, Resource("icons/modules/flexbelt.svg")},
                                    });
}

QString LogoResource() {
    static const bool initialised = (InitAppImages(), true);
    (void)initialised;
    return Resource("logo.svg");
}

} // namespace zrn::ui
