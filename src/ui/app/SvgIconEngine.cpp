#include "ui/app/SvgIconEngine.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

namespace zrn::ui {

SvgIconEngine::SvgIconEngine(QString path) : path_(std::move(path)) {}

void SvgIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                          QIcon::State state) {
    const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, scale));
}

QPixmap SvgIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return scaledPixmap(size, mode, state, 1.0);
}

QPixmap SvgIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State,
                                    qreal scale) {
    const QSize pixels = (QSizeF(size) * scale).toSize();
    if (pixels.isEmpty())
        return {};
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QSvgRenderer renderer(path_);
        QPainter painter(&image);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    }
    QPixmap result = QPixmap::fromImage(image);
    if (mode == QIcon::Disabled || mode == QIcon::Selected) {
        QStyleOption option;
        option.palette = QApplication::palette();
        result = QApplication::style()->generatedIconPixmap(mode, result, &option);
    }
    result.setDevicePixelRatio(scale);
    return result;
}

QIconEngine* SvgIconEngine::clone() const {
    return new SvgIconEngine(path_);
}

QString SvgIconEngine::key() const {
    return QStringLiteral("zrn-svg");
}

bool SvgIconEngine::isNull() {
    return path_.isEmpty();
}

} // namespace zrn::ui
