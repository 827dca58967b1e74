#include "app/Commands.h"

#include "app/Language.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QWidget>

const QList<TPlanPreset>& PlanPresets()
{
    static const QList<TPlanPreset> presets{
        {QT_TRANSLATE_NOOP("TCommands", "制限なし"), ""},
        {QT_TRANSLATE_NOOP("TCommands", "30秒"), "30s"},
        {QT_TRANSLATE_NOOP("TCommands", "1分"), "1m"},
        {QT_TRANSLATE_NOOP("TCommands", "2分"), "2m"},
        {QT_TRANSLATE_NOOP("TCommands", "5分"), "5m"},
        {QT_TRANSLATE_NOOP("TCommands", "10分"), "10m"},
        {QT_TRANSLATE_NOOP("TCommands", "クラス（30秒×10、1分×5、2分×3、5分×2）"), "10x30s,5x1m,3x2m,2x5m"},
        {QT_TRANSLATE_NOOP("TCommands", "クラス（30秒×10、休憩1分、1分×5、休憩1分、2分×3、5分×2）"), "10x30s,休憩1m,5x1m,休憩1m,3x2m,2x5m"},
    };
    return presets;
}

namespace {
QAction* MakeCommand(QWidget* window, QMenu* menu, const char* name, const QString& text,
                     const QList<QKeySequence>& keys = {})
{
    auto* action = new QAction(text, window);
    action->setObjectName(QLatin1String(name));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
    menu->addAction(action);
    return action;
}
} // namespace

TCommands::TCommands(QWidget* window)
{
    Menu = new QMenu(window);
    Menu->setObjectName(QStringLiteral("ProgramMenu"));

    PlanMenu = Menu->addMenu(QCoreApplication::translate("TCommands", "練習プラン"));
    PlanMenu->setObjectName(QStringLiteral("PlanMenu"));
    Plans = new QActionGroup(window);
    Plans->setExclusive(true);
    for (const TPlanPreset& preset : PlanPresets()) {
        QAction* entry = PlanMenu->addAction(QCoreApplication::translate("TCommands", preset.Name));
        entry->setCheckable(true);
        entry->setData(QString::fromUtf8(preset.Text));
        Plans->addAction(entry);
    }
    PlanMenu->addSeparator();
    CustomPlan = PlanMenu->addAction(QCoreApplication::translate("TCommands", "カスタム…"));
    CustomPlan->setObjectName(QStringLiteral("CustomPlanCommand"));
    CustomPlan->setCheckable(true);
    Plans->addAction(CustomPlan);

    TimeUpSound = MakeCommand(window, Menu, "TimeUpSoundCommand", QCoreApplication::translate("TCommands", "時間切れの音"));
    TimeUpSound->setCheckable(true);
    Cues = MakeCommand(window, Menu, "CuesCommand", QCoreApplication::translate("TCommands", "残り時間の合図"));
    Cues->setCheckable(true);
    Pause =
        MakeCommand(window, Menu, "PauseCommand", QCoreApplication::translate("TCommands", "一時停止"), {QKeySequence(Qt::Key_Space)});
    MoreTime = MakeCommand(window, Menu, "MoreTimeCommand", QCoreApplication::translate("TCommands", "+30秒"),
                           {QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal)});
    Menu->addSeparator();
    Undo = MakeCommand(window, Menu, "UndoCommand", QCoreApplication::translate("TCommands", "元に戻す"),
                       {QKeySequence(Qt::CTRL | Qt::Key_Z)});
    Redo = MakeCommand(window, Menu, "RedoCommand", QCoreApplication::translate("TCommands", "やり直し"),
                       {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    Menu->addSeparator();
    Pen = MakeCommand(window, Menu, "PenCommand", QCoreApplication::translate("TCommands", "ペン"), {QKeySequence(Qt::Key_P)});
    Eraser =
        MakeCommand(window, Menu, "EraserCommand", QCoreApplication::translate("TCommands", "消しゴム"), {QKeySequence(Qt::Key_E)});
    auto* tools = new QActionGroup(window);
    for (QAction* tool : {Pen, Eraser}) {
        tool->setCheckable(true);
        tools->addAction(tool);
    }
    MirrorView = MakeCommand(window, Menu, "MirrorViewCommand", QCoreApplication::translate("TCommands", "左右反転表示"),
                             {QKeySequence(Qt::Key_M)});
    MirrorView->setCheckable(true);
    Menu->addSeparator();
    Next = MakeCommand(window, Menu, "NextCommand", QCoreApplication::translate("TCommands", "Next"),
                       {QKeySequence(Qt::Key_N), QKeySequence(Qt::Key_Right)});
    Save = MakeCommand(window, Menu, "SaveCommand", QCoreApplication::translate("TCommands", "結果を保存"),
                       {QKeySequence(Qt::CTRL | Qt::Key_S)});
    Reset = MakeCommand(window, Menu, "ResetCommand", QCoreApplication::translate("TCommands", "リセット"));
    Menu->addSeparator();
    OpenReferences =
        MakeCommand(window, Menu, "OpenReferencesCommand", QCoreApplication::translate("TCommands", "参考画像フォルダーを開く…"));
    SkipReference = MakeCommand(window, Menu, "SkipReferenceCommand", QCoreApplication::translate("TCommands", "参考画像をスキップ"),
                                {QKeySequence(Qt::Key_S)});
    CloseReferences = MakeCommand(window, Menu, "CloseReferencesCommand", QCoreApplication::translate("TCommands", "参考画像を閉じる"));
    Grid = MakeCommand(window, Menu, "GridCommand", QCoreApplication::translate("TCommands", "グリッド"), {QKeySequence(Qt::Key_G)});
    LookAgain =
        MakeCommand(window, Menu, "LookAgainCommand", QCoreApplication::translate("TCommands", "見る"), {QKeySequence(Qt::Key_V)});
    Menu->addSeparator();
    Review =
        MakeCommand(window, Menu, "ReviewCommand", QCoreApplication::translate("TCommands", "振り返り"), {QKeySequence(Qt::Key_R)});
    ReviewAfterPlan =
        MakeCommand(window, Menu, "ReviewAfterPlanCommand", QCoreApplication::translate("TCommands", "プラン終了後に振り返る"));
    ReviewAfterPlan->setCheckable(true);
    History =
        MakeCommand(window, Menu, "HistoryCommand", QCoreApplication::translate("TCommands", "練習の記録"), {QKeySequence(Qt::Key_H)});
    Menu->addSeparator();
    OpenResultFolder =
        MakeCommand(window, Menu, "OpenResultFolderCommand", QCoreApplication::translate("TCommands", "結果フォルダーを開く"));
    // The other language, named in itself, so that one who cannot read this one finds it.
    Language = MakeCommand(window, Menu, "LanguageCommand",
                           CurrentLanguage() == TLanguage::English ? QStringLiteral("日本語") : QStringLiteral("English"));
    About = MakeCommand(window, Menu, "AboutCommand", QCoreApplication::translate("TCommands", "Tenarai について"));
}

QAction* TCommands::PlanEntry(const TPlan& plan) const
{
    for (QAction* entry : Plans->actions())
        if (entry != CustomPlan && TPlan::Parse(entry->data().toString()).value_or(TPlan()) == plan)
            return entry;
    return CustomPlan;
}
