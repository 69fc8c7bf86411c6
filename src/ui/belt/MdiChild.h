#pragma once

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace zrn::ui {

//! The multiple-document frame a window lives in, or null when it is a window of its own.
QMdiSubWindow* SubWindowOf(const QWidget* window);

//! The multiple-document area of the frame a window lives in, or null.
QMdiArea* MdiAreaOf(const QWidget* window);

//! Shows window as a child of the same multiple-document area as sibling: on first use the
//! window gets a frame there (the frame goes when the window is destroyed, and the window's
//! own menu bar stays hidden: its menus show in the main window's menu bar). Without an area
//! (a sibling that is a window of its own) the window is shown as a window of its own.
//! Returns the window's frame, or null for a window of its own.
QMdiSubWindow* ShowBeside(QWidget* window, QWidget* sibling);

//! The widget that is moved and sized for the window: its frame, or the window itself.
QWidget* FrameOf(QWidget* window);

} // namespace zrn::ui
