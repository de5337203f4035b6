#pragma once
// Where the main window stands: placed by its outer frame from the stored placement, kept where
// the user can reach it, and the placement to store when the program ends. The geometry is plain
// functions; TFramePlacement binds it to the window.

#include <QList>
#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// A placement as stored: the frame's top left and the user's size of the client area.
struct TPlacement {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TPlacement &) const = default;
};

// Where the frame is to stand, and the client size the user chose.
struct TFramePlace {
    QPoint FramePosition;
    QSize UserSize;
    bool operator==(const TFramePlace &) const = default;
};

// The stored size limited to the screens, and where the frame must stand so that its user can
// reach it: the frame around what the content needs (leastSize, which may exceed a size stored at
// a smaller scale) is what must lie on the screens. A frame off the areas moves inside the area
// that holds a usable part of its title strip, or else the nearest one; one larger than that area
// is limited to it. Any numbers are taken; without areas nothing moves.
TFramePlace PlaceOnScreens(const TPlacement &stored, QSize leastSize, const QMargins &frameMargins,
                           const QList<QRect> &areas);

// The user's size after the window became `size`: what it has beyond what its content needs; at
// exactly that need the user's own size may be smaller, and the window returns to it later.
QSize UserSizeAfterResize(QSize userSize, QSize size, QSize leastSize);

// What is stored when the program ends: where the frame stands and the user's size once the
// window has been shown; a window never shown (started minimised or in the tray) keeps the stored
// placement rather than the toolkit's initial geometry.
TPlacement PlacementToStore(const TPlacement &stored, bool shown, QPoint framePosition, QSize userSize);

// The placement of one window, which it watches for moves and resizes.
class TFramePlacement : public QObject {
public:
    TFramePlacement(QWidget *window, const TPlacement &stored);

    // Before the window is first shown: a position given before the window exists is taken by
    // the window system as the frame's, and a window that starts minimised has its size.
    void PlaceAtStart();
    // The show sequence has begun: from now on the window's size is the user's.
    void Shown();
    // Once the content has its size: placed again, and refitted when the window manager has
    // framed the window.
    void PlaceAtFirstShow();
    // The first show has set its texts: the layout takes them in now, and the window is placed
    // again with the size they need, before the window manager first frames it.
    void SettleFirstShow();
    // The client size the user chose (or the stored one); invalid before the first placement.
    QSize UserSize() const { return FUserSize; }
    TPlacement ToStore() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Place();
    TFramePlace Placement() const;
    QPoint FramePosition() const;
    QMargins FrameMargins() const;
    void RefitWhenFramed();

    QWidget *FWindow;
    TPlacement FStored;
    bool FShown = false;        // the window's size follows the user
    bool FRefitPending = false; // the first placement waits for the window's frame to be known
    QSize FUserSize;            // the client size the user chose (or the stored one)
    QPoint FPlacedAt;           // where the frame was last placed
};
