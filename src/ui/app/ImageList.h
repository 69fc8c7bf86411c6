#pragma once

#include <QIcon>
#include <QSize>
#include <QString>

#include <map>

namespace zrn::ui {

//! A numbered set of glyphs, as the windows' actions and buttons use them: image n of the
//! list is icon(n). The glyphs are vector pictures of the program's resources, drawn crisp
//! at whatever size a menu, toolbar or button asks for; glyphSize is the size they are
//! designed for. An index without a glyph gives a null icon.
class ImageList {
public:
    //! A list of glyphs designed at glyphSize, by index and resource path.
    ImageList(QSize glyphSize, std::map<int, QString> resources);

    //! The glyph at index, or a null icon.
    QIcon icon(int index) const;
    //! True when the list has a glyph at index.
    bool has(int index) const { return resources_.count(index) != 0; }
    //! The size the glyphs are designed for.
    QSize glyphSize() const { return glyphSize_; }

    //! `img_main`, 17 x 17: 0 print, 1 maintenance, 5 close, 8 copy, 10 reset, 20 results,
    //! 28 load, 29 save, 30 add to report, 31 columnar report, 32 add to columnar report,
    //! 33 save as, 35 graph, 36 export.
    static ImageList MainImages();
    //! `img_modules`, 25 x 25: 0 belt, 1 chain, 2 flexbelt.
    static ImageList ModuleImages();

    //! Image indexes of the main list.
    enum MainIndex {
        Print = 0,
        Maintenance = 1,
        Close = 5,
        Copy = 8,
        Reset = 10,
        Results = 20,
        Load = 28,
        Save = 29,
        AddToReport = 30,
        Columnar = 31,
        AddToColumnar = 32,
        SaveAs = 33,
        Graph = 35,
        Export = 36
    };
    //! Image indexes of the module list.
    enum ModuleIndex { Belt = 0, Chain = 1, Flexbelt = 2 };

private:
    QSize glyphSize_;
    std::map<int, QString> resources_;
};

//! The maker's logo (530 x 267) as a resource path.
QString LogoResource();

} // namespace zrn::ui
