#include "ui/app/SvgPicture.h"

#include <QPainter>
#include <QSvgRenderer>

namespace zrn::ui {

SvgPicture::SvgPicture(const QString& path, QWidget* parent)
    : QWidget(parent), renderer_(new QSvgRenderer(path, this)) {}

bool SvgPicture::isValid() const {
    return renderer_->isValid();
}

QSize SvgPicture::sizeHint() const {
    return renderer_->defaultSize();
}

void SvgPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer_->render(&painter, QRectF(rect()));
}

} // namespace zrn::ui
