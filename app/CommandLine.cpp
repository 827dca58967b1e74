#include "app/CommandLine.h"

#include "app/Language.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

namespace {
QString HelpText()
{
    return TerminalText(QT_TRANSLATE_NOOP(
        "Terminal",
        "使い方: tenarai [オプション]\n"
        "時間を計りながらクロッキー（短時間のスケッチ）を練習するプログラムです。\n"
        "\n"
        "オプション:\n"
        "  -h, --help         この説明を表示して終わります\n"
        "  -v, --version      バージョンを表示して終わります\n"
        "  --plan PLAN        この回の練習プラン（1枚ごとの制限時間）\n"
        "                     例: \"10x30s,5x1m,2x5m\"（枚数x時間をカンマで区切る。\n"
        "                     時間は 30s、2m、1m30s のように1秒から99分まで。\n"
        "                     最後の項目の枚数を省くと、それ以降すべてに使う）\n"
        "  --references DIR   参考画像のフォルダー（サブフォルダーの画像も使う）\n"
        "  --result-dir DIR   結果の画像を保存するフォルダー（既定は作業フォルダーの result）\n"
        "  --export-history FILE\n"
        "                     練習の記録を CSV で FILE に書き出して終わります（ウィンドウは開きません）\n"
        "  --language ja|en   表示する言語（日本語か英語。既定はメニューで選んだもの、なければ日本語）\n"));
}
} // namespace

TCommandLine ReadCommandLine(const QStringList& arguments)
{
    TCommandLine result;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption plan(QStringLiteral("plan"), QString(), QStringLiteral("PLAN"));
    const QCommandLineOption references(QStringLiteral("references"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption resultDir(QStringLiteral("result-dir"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption exportHistory(QStringLiteral("export-history"), QString(),
                                           QStringLiteral("FILE"));
    const QCommandLineOption language(QStringLiteral("language"), QString(), QStringLiteral("LANGUAGE"));
    parser.addOptions({help, version, plan, references, resultDir, exportHistory, language});

    const auto fail = [&](const QString& message) {
        result.ExitCode = 2;
        result.Error = TerminalText(QT_TRANSLATE_NOOP("Terminal", "tenarai: %1\n詳しくは tenarai --help を見てください。\n")).arg(message);
        return result;
    };
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            return fail(TerminalText(QT_TRANSLATE_NOOP("Terminal", "知らないオプションです: %1"))
                            .arg((unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) +
                                 unknown.first()));
        for (const char* name : {"plan", "references", "result-dir", "export-history", "language"})
            if (parser.errorText().contains(QLatin1String("--") + QLatin1String(name) + QLatin1String("'")))
                return fail(TerminalText(QT_TRANSLATE_NOOP("Terminal", "オプションに値がありません: --%1")).arg(QLatin1String(name)));
        return fail(parser.errorText());
    }
    if (parser.isSet(help)) {
        result.ExitCode = 0;
        result.Output = HelpText();
        return result;
    }
    if (parser.isSet(version)) {
        result.ExitCode = 0;
        result.Output = QStringLiteral("tenarai %1\n").arg(QStringLiteral(TENARAI_VERSION));
        return result;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(TerminalText(QT_TRANSLATE_NOOP("Terminal", "余分な引数があります: %1")).arg(parser.positionalArguments().first()));
    if (parser.isSet(language) && !LanguageNamed(parser.value(language)))
        return fail(TerminalText(QT_TRANSLATE_NOOP("Terminal", "--language には ja か en を指定してください: %1"))
                        .arg(parser.value(language)));
    if (parser.isSet(plan)) {
        QString problem;
        result.Plan = TPlan::Parse(parser.value(plan), &problem);
        if (!result.Plan)
            return fail(TerminalText(QT_TRANSLATE_NOOP("Terminal", "--plan の値が読めません: %1")).arg(problem));
    }
    if (parser.isSet(resultDir)) {
        result.ResultFolder = parser.value(resultDir);
        if (result.ResultFolder.isEmpty())
            return fail(TerminalText(QT_TRANSLATE_NOOP("Terminal", "--result-dir のフォルダーが空です")));
        // Missing folders are made at the first save; only one below a file can never be.
        for (QFileInfo up(result.ResultFolder);
             !up.filePath().isEmpty() && up.filePath() != QLatin1String("."); up = QFileInfo(up.path())) {
            if (up.exists() && !up.isDir())
                return fail(TerminalText(QT_TRANSLATE_NOOP("Terminal", "--result-dir はフォルダーになれません（%1 はファイルです）"))
                                .arg(up.filePath()));
            if (up.filePath() == up.path())
                break;
        }
    }
    if (parser.isSet(exportHistory)) {
        result.ExportHistory = parser.value(exportHistory);
        if (result.ExportHistory.isEmpty())
            return fail(TerminalText(QT_TRANSLATE_NOOP("Terminal", "--export-history のファイルが空です")));
    }
    if (parser.isSet(references)) {
        result.References = parser.value(references);
        if (!QFileInfo(result.References).isDir())
            return fail(
                TerminalText(QT_TRANSLATE_NOOP("Terminal", "--references のフォルダーが見つかりません: %1")).arg(result.References));
    }
    return result;
}
