#pragma once

#include <QIconEngine>
#include <QString>

namespace zrn::ui {

//! Draws an icon from a vector picture at the size asked for, so glyphs stay sharp in
//! menus, toolbars and on screens with a high pixel density. The disabled look is the
//! style's own greyed version of the picture.
class SvgIconEngine : public QIconEngine {
public:
    //! An engine for the picture at path (a resource path such as ":/zrn/logo.svg").
    explicit SvgIconEngine(QString path);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override;
    QIconEngine* clone() const override;
    QString key() const override;
    bool isNull() override;

private:
    QString path_;
};

} // namespace zrn::ui
