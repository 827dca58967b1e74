#ifndef TENARAI_APP_COMMANDS_H
#define TENARAI_APP_COMMANDS_H

#include "practice/Plan.h"

#include <QList>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

/**
 * @brief The program's commands, made once: each is one QAction with its text and keys, added
 * to the window (so the keys work while it is active) and to the program's menu, which opens on
 * a right-click. The window connects them to its handlers and keeps their state.
 */
struct TCommands
{
    QMenu* Menu = nullptr;
    QMenu* PlanMenu = nullptr;
    QActionGroup* Plans = nullptr; // one checkable entry per preset, then "カスタム…"
    QAction* CustomPlan = nullptr;
    QAction* TimeUpSound = nullptr;
    QAction* Cues = nullptr;     // ticks in the last seconds, a blink at half time
    QAction* Pause = nullptr;    // "一時停止", "再開" while paused
    QAction* MoreTime = nullptr; // "+30秒"
    QAction* Undo = nullptr;
    QAction* Redo = nullptr;
    QAction* Pen = nullptr;
    QAction* Eraser = nullptr;
    QAction* MirrorView = nullptr; // "左右反転表示", a check entry
    QAction* Next = nullptr;
    QAction* Save = nullptr;
    QAction* Reset = nullptr;
    QAction* OpenReferences = nullptr;
    QAction* SkipReference = nullptr;
    QAction* CloseReferences = nullptr;
    QAction* Grid = nullptr;            // "グリッド": none, 3 × 3, 4 × 4 in turn
    QAction* LookAgain = nullptr;       // "見る": the reference hidden for drawing from memory
    QAction* Review = nullptr;          // "振り返り"
    QAction* ReviewAfterPlan = nullptr; // "プラン終了後に振り返る", a check entry
    QAction* History = nullptr;         // "練習の記録"
    QAction* OpenResultFolder = nullptr;
    QAction* Language = nullptr; // "English" in Japanese, "日本語" in English: the next start's
    QAction* About = nullptr;

    explicit TCommands(QWidget* window);
    // The preset entry of a plan, or "カスタム…" for any other.
    QAction* PlanEntry(const TPlan& plan) const;
};

// The plans the menu offers by name; an entry's data is the plan's text form.
struct TPlanPreset
{
    const char* Name;
    const char* Text; // empty: no limit
};
const QList<TPlanPreset>& PlanPresets();

#endif
