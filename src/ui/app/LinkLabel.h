#pragma once

#include <QLabel>
#include <QUrl>

namespace zrn::ui {

//! A label that opens a web or e-mail address: black, blue while the mouse is over it, and a
//! click opens the address with the system's handler (browser, mail program).
class TLinkLabel : public QLabel {
    Q_OBJECT
public:
    //! A link showing text that opens url.
    TLinkLabel(const QString& text, const QUrl& url, QWidget* parent = nullptr);

    //! The address opened on a click.
    const QUrl& url() const { return url_; }
    //! True while the mouse is over the label.
    bool hovered() const { return hovered_; }

signals:
    //! The user clicked the link (the address is being opened).
    void activated(const QUrl& url);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setHovered(bool hovered);

    QUrl url_;
    bool hovered_ = false;
};

} // namespace zrn::ui
