#pragma once
// A small button that shows a colour and drops down a grid of twenty colours (plus the full
// colour dialog) to pick another one.

#include "components/kxLanguage.h"
#include "platform/Colors.h"

#include <QFont>
#include <QWidget>
#include <functional>
#include <optional>

class TkxColorForm;

// Runs the colour dialog starting at `initial`: the confirmed colour, or nothing when cancelled.
using TkxColorDialogRunner = std::function<std::optional<TColor>(QWidget *parent, TColor initial)>;

// Replaces how the colour dialog is run (tests answer it themselves). An empty runner restores
// the program's one shared colour dialog, which keeps the user's custom colours for the run.
void SetColorDialogRunner(TkxColorDialogRunner runner);

class TkxColorPicker : public QWidget {
    Q_OBJECT
public:
    explicit TkxColorPicker(QWidget *parent = nullptr);

    // Setting a colour from code repaints and raises no event.
    TColor Color() const { return FColor; }
    void SetColor(TColor color);

    // Draw the face as a flat button when not pressed.
    bool Flat() const { return FFlat; }
    void SetFlat(bool flat);

    // Language of the pop-up's one caption.
    TkxLanguage Language() const { return FLanguage; }
    void SetLanguage(TkxLanguage language) { FLanguage = language; }

    // The open pop-up, or null.
    TkxColorForm *Popup() const;

    QSize sizeHint() const override { return {42, 21}; }

public slots:
    // The pop-up's choice: stores a different colour, repaints and raises OnChangeColor.
    void SelectColor(QObject *sender, TColor newColor);

signals:
    void OnChangeColor(TkxColorPicker *sender);
    void OnClick(TkxColorPicker *sender);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void Click();
    QPoint PopupPlace() const;
    void SetMouseInside(bool inside);
    void SetPressed(bool pressed, bool spaceDown);

    TColor FColor = clBlack;
    bool MouseInside = false;
    bool SpaceDown = false;
    bool Pressed = false;
    bool FFlat = false;
    TkxLanguage FLanguage = lgNederlands;
};

// The borderless pop-up with the colour grid, the "Other..." button and the swatch.
class TkxColorForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int Rows = 5;
    static constexpr int Columns = 4;
    static constexpr int FormWidth = 78;
    static constexpr int FormHeight = 120;
    // The target pair that stands for the swatch.
    static constexpr int SwatchColumn = 4;
    static constexpr int SwatchRow = 6;

    // The grid's colours, row by row.
    static const TColor ColorTable[Rows][Columns];

    explicit TkxColorForm(QWidget *owner);

    // Showing a colour also highlights its cell, or the swatch when no cell holds it.
    TColor CurrentColor() const { return FCurrentColor; }
    void SetCurrentColor(TColor color);

    TkxLanguage FormLanguage() const { return FFormLanguage; }
    void SetFormLanguage(TkxLanguage language);

    // The highlighted target: a cell (column 1..4, row 1..5), the swatch (4, 6) or nothing (0, 0).
    int HoverColumn() const { return FHoverColumn; }
    int HoverRow() const { return FHoverRow; }
    // The colour of the highlighted target (the swatch's is the current colour).
    TColor HoverColor() const { return TargetColor({FHoverColumn, FHoverRow}); }

    // The targets in reading order: the twenty cells, then the swatch.
    static constexpr int TargetCount = Rows * Columns + 1;
    static QPoint Target(int index);
    TColor TargetColor(QPoint target) const;
    static QRect TargetRect(QPoint target);

    // The first cell holding a colour, or the swatch, as (column, row).
    static QPoint CellOf(TColor color);
    // The target under a point of the pop-up, as (column, row).
    static QPoint TargetAt(QPoint point);

    // The caption of the button that opens the colour dialog.
    static QString OtherCaption(TkxLanguage language);
    // The colour as a person says it: the name of a grid colour, else its hexadecimal RGB code.
    static QString ColorName(TColor color, TkxLanguage language);

signals:
    void OnSelectColor(QObject *sender, TColor newColor);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    // Arrows move the highlight over the grid and the swatch, Enter or Space takes it, the
    // caption's underlined letter opens the colour dialog, Escape closes.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void SetHover(QPoint target);
    void ChooseHovered();
    void ChooseFromDialog();
    QImage Render() const;

    TColor FCurrentColor = clBlack;
    int FHoverColumn = 0;
    int FHoverRow = 0;
    TkxLanguage FFormLanguage = lgNederlands;
    QFont CaptionFont;
};
