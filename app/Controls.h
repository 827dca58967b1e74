#ifndef TENARAI_APP_CONTROLS_H
#define TENARAI_APP_CONTROLS_H

#include <QRect>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace TopBand {
inline constexpr int ClientWidth = 668; // the window's first size
inline constexpr int ClientHeight = 727;
inline constexpr int NextRightGap = 82; // Next keeps its left edge this far from the right edge
} // namespace TopBand

// A text of the top band: centred, wrapped, 22 pixels high, black.
QLabel* MakeText(QWidget* parent, const char* name, const QString& text, QRect geometry);
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, QRect geometry);

// The save's activity dialog, made by its registered class name, with its message.
class TCustomActivityDialog* MakeActivityDialog(QWidget* window);

// The program's name, version, purpose and licence in a message box.
void ShowAboutBox();

// Shows the busy cursor for as long as it lives.
class TBusyCursor final
{
public:
    TBusyCursor();
    ~TBusyCursor();
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

#endif
