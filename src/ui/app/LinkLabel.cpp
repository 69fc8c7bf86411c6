#include "ui/app/LinkLabel.h"

#include <QDesktopServices>
#include <QMouseEvent>

namespace zrn::ui {

TLinkLabel::TLinkLabel(const QString& text, const QUrl& url, QWidget* parent)
    : QLabel(text, parent), url_(url) {
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    setToolTip(url.toString());
    setHovered(false);
}

void TLinkLabel::setHovered(bool hovered) {
    hovered_ = hovered;
    QPalette look = palette();
    look.setColor(QPalette::WindowText, hovered ? QColor(Qt::blue) : QColor(Qt::black));
    setPalette(look);
}

void TLinkLabel::enterEvent(QEnterEvent* event) {
    setHovered(true);
    QLabel::enterEvent(event);
}

void TLinkLabel::leaveEvent(QEvent* event) {
    setHovered(false);
    QLabel::leaveEvent(event);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit activated(url_);
        QDesktopServices::openUrl(url_);
    }
    QLabel::mouseReleaseEvent(event);
}

} // namespace zrn::ui
