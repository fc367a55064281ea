#pragma once
// THexDump: the control that holds one device buffer and shows it as a hex
// dump (address column, hex cells of bytes or 16-bit words, ASCII column).
// The buffer model is TDumpBuffer and the input rules live in THexDumpEdit;
// this widget paints them and turns Qt events into controller calls.
#include "buffer/HDumpBuffer.h"
#include "buffer/HDumpEdit.h"

#include <QFont>
#include <QRawFont>
#include <QWidget>

#include <algorithm>
#include <array>
#include <memory>

#include <functional>

class QAction;
class QKeyEvent;
class QMenu;
class QScrollBar;

class THexDump : public QWidget {
public:
    explicit THexDump(QWidget* parent = nullptr);
    ~THexDump() override;

    TDumpBuffer& Buffer() { return buffer_; }
    const TDumpBuffer& Buffer() const { return buffer_; }
    // The input controller: caret, scrolling and display options, and the
    // owner's caret, status and selection events.
    THexDumpEdit& Edit() { return edit_; }
    const THexDumpEdit& Edit() const { return edit_; }

    TDumpColors Colors;
    // Popup command chosen by the user (any but pcSelectAll); the owner
    // does it.
    std::function<void(THexDump*, TDumpPopupCommand)> OnPopupCommand;

    // Buffer operations with the repaint the view owes them.
    int64_t GetSize() const { return buffer_.GetSize(); }
    void SetSize(int64_t size);
    // After the buffer took a file, which may have resized it: the view
    // stands at the top and the scroll bar follows the size; the mismatch
    // marks and the selection stay as the load left them.
    void FileLoaded();
    void EraseBuffer();
    void HideMismatch();
    void ClearMarkers();
    void SetMatchBit(int64_t i, bool value = false) { buffer_.SetMatchBit(i, value); }
    bool GetMatchBit(int64_t i) const { return buffer_.GetMatchBit(i); }
    void SetSelectBit(int64_t i, bool value) { buffer_.SetSelectBit(i, value); }
    bool IsSelected(int64_t i) const { return buffer_.IsSelected(i); }
    void SelectAll();
    // Places the scroll bar and repaints everything.
    void Paint();
    bool IsHexDumpInClipboard() const;

    bool VScrollBar() const;
    void SetVScrollBar(bool visible);
    QScrollBar* ScrollBar() const { return scrollBar_; }
    QMenu* PopupMenu() const { return popup_; }
    // Enables the popup's items for the current clipboard and selection.
    void UpdatePopupItems();

    // Takes the editor's font, colours and option bits from the settings.
    void ApplySettings();
    // The named font, or the system's fixed-pitch font when it is missing.
    static QFont DumpFont(const QString& name, int pointSize, int style);
    // Width of "0" and line height in the current font.
    int MeasuredCharWidth() const;
    int MeasuredLineHeight() const;

    // Paints the client area (everything inside the bevel) onto any
    // painter, with its top left corner at the painter's origin (the
    // widget's paint event, printing previews, benchmarks).
    void PaintTo(QPainter& p);

    // The lowered bevel around the client area: two rings of one pixel.
    static constexpr int BevelWidth = 2;
    // Where the client area stands in the widget, and its size: the
    // controller's coordinates are client coordinates.
    QPoint ClientOrigin() const { return {BevelWidth, BevelWidth}; }
    int ClientWidth() const { return std::max(width() - 2 * BevelWidth, 0); }
    int ClientHeight() const { return std::max(height() - 2 * BevelWidth, 0); }

protected:
    bool event(QEvent*) override;
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void changeEvent(QEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void keyReleaseEvent(QKeyEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void focusInEvent(QFocusEvent*) override;
    void focusOutEvent(QFocusEvent*) override;

private:
    // The controller refers to the buffer, so the buffer comes first.
    TDumpBuffer buffer_;
    THexDumpEdit edit_;
    QScrollBar* scrollBar_;
    QMenu* popup_;
    QMenu* selectionMenu_;
    std::array<QAction*, pcCount> popupItems_{};
    bool syncingScroll_ = false;
    // Glyph of every byte's character in the current font.
    struct TGlyphTable {
        QFont Source;
        QRawFont Font;
        std::array<quint32, 256> Index{};
    };
    std::unique_ptr<TGlyphTable> glyphs_;
    const TGlyphTable& Glyphs();

    // The byte a key types into the character column, or -1.
    static int TypedCode(const QKeyEvent* e);
    bool IsPopupShortcut(const QKeyEvent* e) const;
    void BuildPopup();
    void SyncScrollBar();
    void FixFontPitch();
    int DrawWidth() const;
    void PaintHeader(QPainter& p, const TDumpLayout& l, int drawWidth);
    void PaintRow(QPainter& p, const TDumpLayout& l, int64_t index, int y, int ascent);
    void PaintCaret(QPainter& p, const TDumpLayout& l);
    void PaintBevel(QPainter& p);
};
