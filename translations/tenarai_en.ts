<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Controls</name>
    <message>
        <source>処理中です。しばらくお待ち下さい。</source>
        <translation>Working. Please wait.</translation>
    </message>
    <message>
        <source>Tenarai %1
時間を計ってクロッキーを練習するプログラム
ライセンス: MIT
%2</source>
        <translation>Tenarai %1
Timed gesture drawing practice
Licence: MIT
%2</translation>
    </message>
</context>
<context>
    <name>Raster</name>
    <message>
        <source>「%1」を保存できませんでした: %2</source>
        <translation>Could not save &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>ビットマップ サイズが大きすぎます。</source>
        <translation>The bitmap size is too large.</translation>
    </message>
    <message>
        <source>コピー操作ではビットマップ サイズが等しくなければなりません</source>
        <translation>Bitmaps must be the same size to be copied</translation>
    </message>
    <message>
        <source>ビットマップの保存に失敗しました。</source>
        <translation>Could not save the bitmap.</translation>
    </message>
    <message>
        <source>ディスクの空き容量が足りません</source>
        <translation>Not enough free disk space</translation>
    </message>
    <message>
        <source>ファイルが大きすぎます</source>
        <translation>The file is too large</translation>
    </message>
    <message>
        <source>書き込む権限がありません</source>
        <translation>No permission to write</translation>
    </message>
    <message>
        <source>読み取り専用の場所です</source>
        <translation>The place is read-only</translation>
    </message>
    <message>
        <source>フォルダーのはずの場所にファイルがあります</source>
        <translation>A file is where a folder should be</translation>
    </message>
    <message>
        <source>フォルダーが見つかりません</source>
        <translation>The folder was not found</translation>
    </message>
    <message>
        <source>同じ名前のファイルがすでにあります</source>
        <translation>A file of the same name already exists</translation>
    </message>
    <message>
        <source>パスが長すぎます</source>
        <translation>The path is too long</translation>
    </message>
    <message>
        <source>入出力エラー (%1)</source>
        <translation>Input/output error (%1)</translation>
    </message>
    <message>
        <source>ビットマップの保存に失敗しました。(%1)</source>
        <translation>Could not save the bitmap. (%1)</translation>
    </message>
    <message>
        <source>ビットマップの保存に失敗しました。(deflate)</source>
        <translation>Could not save the bitmap. (deflate)</translation>
    </message>
</context>
<context>
    <name>ReferenceCell</name>
    <message>
        <source>見つかりません</source>
        <translation>Not found</translation>
    </message>
</context>
<context>
    <name>ResultSheets</name>
    <message>
        <source>結果を保存するフォルダー「%1」を作れませんでした: %2</source>
        <translation>Could not make the folder &quot;%1&quot; for the results: %2</translation>
    </message>
</context>
<context>
    <name>TCalendarView</name>
    <message>
        <source>0枚</source>
        <translation>0 drawings</translation>
    </message>
    <message>
        <source>%1枚以上</source>
        <translation>%1 or more</translation>
    </message>
    <message>
        <source>%1–%2枚</source>
        <translation>%1–%2 drawings</translation>
    </message>
</context>
<context>
    <name>TCommands</name>
    <message>
        <source>制限なし</source>
        <translation>No limit</translation>
    </message>
    <message>
        <source>30秒</source>
        <translation>30 seconds</translation>
    </message>
    <message>
        <source>1分</source>
        <translation>1 minute</translation>
    </message>
    <message>
        <source>2分</source>
        <translation>2 minutes</translation>
    </message>
    <message>
        <source>5分</source>
        <translation>5 minutes</translation>
    </message>
    <message>
        <source>10分</source>
        <translation>10 minutes</translation>
    </message>
    <message>
        <source>クラス（30秒×10、1分×5、2分×3、5分×2）</source>
        <translation>Class (30 s × 10, 1 min × 5, 2 min × 3, 5 min × 2)</translation>
    </message>
    <message>
        <source>クラス（30秒×10、休憩1分、1分×5、休憩1分、2分×3、5分×2）</source>
        <translation>Class (30 s × 10, 1 min break, 1 min × 5, 1 min break, 2 min × 3, 5 min × 2)</translation>
    </message>
    <message>
        <source>練習プラン</source>
        <translation>Practice plan</translation>
    </message>
    <message>
        <source>カスタム…</source>
        <translation>Custom…</translation>
    </message>
    <message>
        <source>時間切れの音</source>
        <translation>Time-up sound</translation>
    </message>
    <message>
        <source>残り時間の合図</source>
        <translation>Countdown cues</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>+30秒</source>
        <translation>+30 seconds</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>やり直し</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>ペン</source>
        <translation>Pen</translation>
    </message>
    <message>
        <source>消しゴム</source>
        <translation>Eraser</translation>
    </message>
    <message>
        <source>左右反転表示</source>
        <translation>Mirror view</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>結果を保存</source>
        <translation>Save results</translation>
    </message>
    <message>
        <source>リセット</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>参考画像フォルダーを開く…</source>
        <translation>Open reference folder…</translation>
    </message>
    <message>
        <source>参考画像をスキップ</source>
        <translation>Skip reference</translation>
    </message>
    <message>
        <source>参考画像を閉じる</source>
        <translation>Close references</translation>
    </message>
    <message>
        <source>グリッド</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>見る</source>
        <translation>Look again</translation>
    </message>
    <message>
        <source>振り返り</source>
        <translation>Review</translation>
    </message>
    <message>
        <source>プラン終了後に振り返る</source>
        <translation>Review when the plan ends</translation>
    </message>
    <message>
        <source>練習の記録</source>
        <translation>Practice record</translation>
    </message>
    <message>
        <source>結果フォルダーを開く</source>
        <translation>Open results folder</translation>
    </message>
    <message>
        <source>Tenarai について</source>
        <translation>About Tenarai</translation>
    </message>
</context>
<context>
    <name>TDialogService</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>はい</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>いいえ</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>THistory</name>
    <message>
        <source>%1時間%2分</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>%1分%2秒</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message numerus="yes">
        <source>%n枚 · %1</source>
        <translation>
            <numerusform>%n drawing · %1</numerusform>
            <numerusform>%n drawings · %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>THistoryDatabase</name>
    <message>
        <source>フォルダーを作れません: %1</source>
        <translation>Cannot make the folder: %1</translation>
    </message>
    <message>
        <source>新しい版の Tenarai で作られた記録です（版 %1）</source>
        <translation>This record was made by a newer version of Tenarai (version %1)</translation>
    </message>
    <message>
        <source>壊れた記録を移せません: %1</source>
        <translation>Cannot move the damaged record aside: %1</translation>
    </message>
    <message>
        <source>書き出せません: %1（%2）</source>
        <translation>Cannot write %1 (%2)</translation>
    </message>
</context>
<context>
    <name>TJournal</name>
    <message>
        <source>「%1」を作れませんでした: %2</source>
        <translation>Could not make &quot;%1&quot;: %2</translation>
    </message>
</context>
<context>
    <name>TJournalKeeper</name>
    <message>
        <source>練習の一時保存ができません。このまま続けられますが、異常終了すると描いた絵は失われます。
</source>
        <translation>Your practice cannot be kept safe on disk. You can go on, but if Tenarai ends abnormally your drawings will be lost.
</translation>
    </message>
    <message>
        <source>描きかけの絵</source>
        <translation>an unfinished drawing</translation>
    </message>
    <message numerus="yes">
        <source>%n枚</source>
        <translation>
            <numerusform>%n drawing</numerusform>
            <numerusform>%n drawings</numerusform>
        </translation>
    </message>
    <message>
        <source>前回の練習が保存されないまま残っています（%1）。復元しますか？</source>
        <translation>Your last practice was not saved (%1). Restore it?</translation>
    </message>
    <message>
        <source>一時保存のフォルダーに書き込めません。書き込めるようになるまで、練習は一時保存されません。
</source>
        <translation>The folder for keeping the practice safe cannot be written. Until it can, the practice is not kept on disk.
</translation>
    </message>
    <message numerus="yes">
        <source>読み込めなかった絵が%n枚ありました。</source>
        <translation>
            <numerusform>%n drawing could not be read.</numerusform>
            <numerusform>%n drawings could not be read.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>名前は決まっていません</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>終了してもよろしいですか？</source>
        <translation>Do you want to quit?</translation>
    </message>
    <message>
        <source>まだ開始していないか0枚です</source>
        <translation>Nothing to save yet: no drawings</translation>
    </message>
    <message>
        <source>保存に失敗しました</source>
        <translation>Saving failed</translation>
    </message>
    <message>
        <source>保存に失敗しました
</source>
        <translation>Saving failed
</translation>
    </message>
    <message>
        <source>いままでの途中経過は破棄されますがよろしいですか？</source>
        <translation>Everything so far will be discarded. Are you sure?</translation>
    </message>
    <message>
        <source>総経過時間</source>
        <translation>Total time</translation>
    </message>
    <message>
        <source>描いた枚数</source>
        <translation>Drawings</translation>
    </message>
    <message>
        <source>経過時間</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>ペン</source>
        <translation>Pen</translation>
    </message>
    <message>
        <source>消しゴム</source>
        <translation>Eraser</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>結果を保存</source>
        <translation>Save results</translation>
    </message>
    <message>
        <source>リセット</source>
        <translation>Reset</translation>
    </message>
</context>
<context>
    <name>TMirrorView</name>
    <message>
        <source>反転表示中</source>
        <translation>Mirrored</translation>
    </message>
</context>
<context>
    <name>TPlan</name>
    <message>
        <source>時間には単位（s または m）を付けてください</source>
        <translation>Give the time a unit (s or m)</translation>
    </message>
    <message>
        <source>読めない時間です（例: 30s、2m、1m30s）</source>
        <translation>Unreadable time (for example 30s, 2m, 1m30s)</translation>
    </message>
    <message>
        <source>時間は1秒から99分までです</source>
        <translation>The time must be from 1 second to 99 minutes</translation>
    </message>
    <message>
        <source>「%1」: %2</source>
        <translation>&quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>プランが空です（例: 10x30s, 5x1m）</source>
        <translation>The plan is empty (for example 10x30s, 5x1m)</translation>
    </message>
    <message>
        <source>%1番目の項目が空です</source>
        <translation>Item %1 is empty</translation>
    </message>
    <message>
        <source>最初の項目を休憩にはできません</source>
        <translation>The first item cannot be a break</translation>
    </message>
    <message>
        <source>最後の項目を休憩にはできません</source>
        <translation>The last item cannot be a break</translation>
    </message>
    <message>
        <source>休憩が続いています</source>
        <translation>Two breaks in a row</translation>
    </message>
    <message>
        <source>枚数がありません</source>
        <translation>The number of drawings is missing</translation>
    </message>
    <message>
        <source>休憩には枚数を付けられません</source>
        <translation>A break cannot have a number of drawings</translation>
    </message>
    <message>
        <source>時間がありません</source>
        <translation>The time is missing</translation>
    </message>
    <message>
        <source>枚数は1から9999までです</source>
        <translation>The number of drawings must be from 1 to 9999</translation>
    </message>
    <message>
        <source>枚数を省けるのは最後の項目だけです</source>
        <translation>Only the last item may leave out the number of drawings</translation>
    </message>
    <message>
        <source>%1秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1分</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1分%2秒</source>
        <translation>%1 min %2 s</translation>
    </message>
</context>
<context>
    <name>TPlanDialog</name>
    <message>
        <source>練習プラン</source>
        <translation>Practice plan</translation>
    </message>
    <message>
        <source>枚数x時間をカンマで区切って入力します（例: 10x30s, 5x1m, 2x5m）。
最後の項目の枚数を省くと、それ以降すべてに使います。
休憩は「休憩2m」のように描く項目の間に入れます。</source>
        <translation>Enter drawings x time, separated by commas (for example 10x30s, 5x1m, 2x5m).
Leave out the number of the last item to use it for every drawing after.
Put breaks between drawing items, such as &quot;rest2m&quot;.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TPlanProgress</name>
    <message>
        <source>プラン終了</source>
        <translation>Plan finished</translation>
    </message>
</context>
<context>
    <name>TPlanRunner</name>
    <message>
        <source>休憩 %1:%2</source>
        <translation>Break %1:%2</translation>
    </message>
    <message>
        <source>再開</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>休憩終了</source>
        <translation>Break over</translation>
    </message>
    <message>
        <source>一時停止中</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source> · 一時停止中</source>
        <translation> · Paused</translation>
    </message>
</context>
<context>
    <name>TRecordKeeper</name>
    <message>
        <source>練習の記録を保存できません。
</source>
        <translation>The practice record cannot be saved.
</translation>
    </message>
    <message>
        <source>練習の記録が壊れていたため、そのまま残して新しく始めました。
</source>
        <translation>The practice record was damaged; it was kept as it is and a new one was started.
</translation>
    </message>
</context>
<context>
    <name>TRecordWindow</name>
    <message>
        <source>練習の記録</source>
        <translation>Practice record</translation>
    </message>
    <message>
        <source>日時</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>枚数</source>
        <translation>Drawings</translation>
    </message>
    <message>
        <source>時間</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>プラン</source>
        <translation>Plan</translation>
    </message>
    <message>
        <source>参考画像フォルダー</source>
        <translation>Reference folder</translation>
    </message>
    <message>
        <source>結果フォルダーを開く</source>
        <translation>Open results folder</translation>
    </message>
    <message>
        <source>CSV に書き出す…</source>
        <translation>Export CSV…</translation>
    </message>
    <message>
        <source>既存の結果を読み込む…</source>
        <translation>Import existing results…</translation>
    </message>
    <message>
        <source>今日</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>今週</source>
        <translation>This week</translation>
    </message>
    <message>
        <source>今月</source>
        <translation>This month</translation>
    </message>
    <message>
        <source>すべて</source>
        <translation>All</translation>
    </message>
    <message>
        <source>結果フォルダーを開けませんでした。
</source>
        <translation>Could not open the results folder.
</translation>
    </message>
    <message>
        <source>CSV に書き出す</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>練習の記録を書き出せませんでした。
</source>
        <translation>Could not export the practice record.
</translation>
    </message>
    <message>
        <source>既存の結果を読み込む</source>
        <translation>Import existing results</translation>
    </message>
    <message>
        <source>既存の結果を読み込めませんでした。</source>
        <translation>Could not import the existing results.</translation>
    </message>
    <message numerus="yes">
        <source>%n回の練習を記録に加えました。</source>
        <translation>
            <numerusform>Added %n practice to the record.</numerusform>
            <numerusform>Added %n practices to the record.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TReferencePane</name>
    <message>
        <source>参考画像フォルダーを開く</source>
        <translation>Open reference folder</translation>
    </message>
    <message>
        <source>参考画像のフォルダーが見つかりません。
</source>
        <translation>The reference folder was not found.
</translation>
    </message>
    <message>
        <source>このフォルダーには読める画像がありません。
</source>
        <translation>This folder has no images that can be read.
</translation>
    </message>
    <message numerus="yes">
        <source>読めない画像を%n枚飛ばしました</source>
        <translation>
            <numerusform>Skipped %n unreadable image</numerusform>
            <numerusform>Skipped %n unreadable images</numerusform>
        </translation>
    </message>
    <message>
        <source>休憩</source>
        <translation>Break</translation>
    </message>
</context>
<context>
    <name>TReferenceWindow</name>
    <message>
        <source>白黒</source>
        <translation>Greyscale</translation>
    </message>
    <message>
        <source>左右反転</source>
        <translation>Flip horizontally</translation>
    </message>
    <message>
        <source>上下反転</source>
        <translation>Flip vertically</translation>
    </message>
    <message>
        <source>参考画像</source>
        <translation>Reference</translation>
    </message>
    <message>
        <source>階調</source>
        <translation>Tones</translation>
    </message>
    <message>
        <source>そのまま</source>
        <translation>Full</translation>
    </message>
    <message>
        <source>2階調</source>
        <translation>2 tones</translation>
    </message>
    <message>
        <source>3階調</source>
        <translation>3 tones</translation>
    </message>
    <message>
        <source>ぼかし</source>
        <translation>Blur</translation>
    </message>
    <message>
        <source>グリッド</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>記憶で描く</source>
        <translation>Draw from memory</translation>
    </message>
    <message>
        <source>5秒</source>
        <translation>5 seconds</translation>
    </message>
    <message>
        <source>10秒</source>
        <translation>10 seconds</translation>
    </message>
    <message>
        <source>30秒</source>
        <translation>30 seconds</translation>
    </message>
    <message>
        <source>常に手前に表示</source>
        <translation>Always on top</translation>
    </message>
    <message>
        <source>スキップ</source>
        <translation>Skip</translation>
    </message>
    <message>
        <source>記憶で描いてください</source>
        <translation>Draw it from memory</translation>
    </message>
</context>
<context>
    <name>TResultFolder</name>
    <message>
        <source>結果フォルダーはまだありません。最初に保存したときに作られます。
</source>
        <translation>There is no results folder yet. It is made at the first save.
</translation>
    </message>
    <message>
        <source>結果フォルダーを開けませんでした。
</source>
        <translation>Could not open the results folder.
</translation>
    </message>
</context>
<context>
    <name>TReviewWindow</name>
    <message>
        <source>重ねる</source>
        <translation>Overlay</translation>
    </message>
    <message>
        <source>合わせる</source>
        <translation>Fit</translation>
    </message>
    <message>
        <source>振り返り</source>
        <translation>Review</translation>
    </message>
    <message>
        <source>参考画像の濃さ</source>
        <translation>Reference opacity</translation>
    </message>
    <message>
        <source>合わせています…</source>
        <translation>Fitting…</translation>
    </message>
    <message>
        <source>合わせられませんでした</source>
        <translation>Could not fit</translation>
    </message>
</context>
<context>
    <name>TSaveProgress</name>
    <message>
        <source>保存中 000/000</source>
        <translation>Saving 000/000</translation>
    </message>
    <message>
        <source>保存中 %1/%2</source>
        <translation>Saving %1/%2</translation>
    </message>
    <message>
        <source>保存中</source>
        <translation>Saving</translation>
    </message>
</context>
<context>
    <name>Terminal</name>
    <message>
        <source>使い方: tenarai [オプション]
時間を計りながらクロッキー（短時間のスケッチ）を練習するプログラムです。

オプション:
  -h, --help         この説明を表示して終わります
  -v, --version      バージョンを表示して終わります
  --plan PLAN        この回の練習プラン（1枚ごとの制限時間）
                     例: &quot;10x30s,5x1m,2x5m&quot;（枚数x時間をカンマで区切る。
                     時間は 30s、2m、1m30s のように1秒から99分まで。
                     最後の項目の枚数を省くと、それ以降すべてに使う）
  --references DIR   参考画像のフォルダー（サブフォルダーの画像も使う）
  --result-dir DIR   結果の画像を保存するフォルダー（既定は作業フォルダーの result）
  --export-history FILE
                     練習の記録を CSV で FILE に書き出して終わります（ウィンドウは開きません）
  --language ja|en   表示する言語（日本語か英語。既定はメニューで選んだもの、なければ日本語）
</source>
        <translation>Usage: tenarai [options]
Practise gesture drawing (quick timed sketches).

Options:
  -h, --help         show this help and exit
  -v, --version      show the version and exit
  --plan PLAN        this run&apos;s practice plan (a time limit for each drawing)
                     for example &quot;10x30s,5x1m,2x5m&quot; (drawings x time, separated by
                     commas; times such as 30s, 2m, 1m30s, from 1 second to 99 minutes;
                     leave out the number of the last item to use it for all after)
  --references DIR   the folder of reference images (images in sub-folders too)
  --result-dir DIR   the folder the result sheets go to (by default result in the
                     working folder)
  --export-history FILE
                     write the practice record as CSV to FILE and exit (no window)
  --language ja|en   the language of the program (Japanese or English; by default
                     the one chosen in the menu, otherwise Japanese)
</translation>
    </message>
    <message>
        <source>tenarai: %1
詳しくは tenarai --help を見てください。
</source>
        <translation>tenarai: %1
See tenarai --help for more.
</translation>
    </message>
    <message>
        <source>知らないオプションです: %1</source>
        <translation>Unknown option: %1</translation>
    </message>
    <message>
        <source>オプションに値がありません: --%1</source>
        <translation>The option has no value: --%1</translation>
    </message>
    <message>
        <source>余分な引数があります: %1</source>
        <translation>Unexpected argument: %1</translation>
    </message>
    <message>
        <source>--language には ja か en を指定してください: %1</source>
        <translation>--language takes ja or en: %1</translation>
    </message>
    <message>
        <source>--plan の値が読めません: %1</source>
        <translation>Cannot read the value of --plan: %1</translation>
    </message>
    <message>
        <source>--result-dir のフォルダーが空です</source>
        <translation>The folder of --result-dir is empty</translation>
    </message>
    <message>
        <source>--result-dir はフォルダーになれません（%1 はファイルです）</source>
        <translation>--result-dir cannot be a folder (%1 is a file)</translation>
    </message>
    <message>
        <source>--export-history のファイルが空です</source>
        <translation>The file of --export-history is empty</translation>
    </message>
    <message>
        <source>--references のフォルダーが見つかりません: %1</source>
        <translation>The folder of --references was not found: %1</translation>
    </message>
    <message>
        <source>tenarai: ディスプレイに接続できません。
</source>
        <translation>tenarai: cannot connect to the display.
</translation>
    </message>
    <message>
        <source>tenarai: 練習の記録を書き出せませんでした: %1
</source>
        <translation>tenarai: could not export the practice record: %1
</translation>
    </message>
</context>
</TS>
