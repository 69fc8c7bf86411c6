#pragma once

#include <QString>
#include <QWidget>

class QSvgRenderer;

namespace zrn::ui {

//! A picture drawn from a vector image, filling the widget, sharp at any pixel density.
class SvgPicture : public QWidget {
    Q_OBJECT
public:
    //! A picture of the image at path (a resource path such as ":/zrn/logo.svg").
    explicit SvgPicture(const QString& path, QWidget* parent = nullptr);

    //! True when the image could be read.
    bool isValid() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSvgRenderer* renderer_;
};

} // namespace zrn::ui
