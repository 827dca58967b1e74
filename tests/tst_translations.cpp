#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtTest>

namespace {
struct TMessage
{
    QString Context;
    QString Source;
    QStringList Translations; // one, or one per plural form
    QString Type;             // "unfinished", "obsolete", "vanished" or empty
    bool Numerus = false;
};

QList<TMessage> ReadTs(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<TMessage> messages;
    QXmlStreamReader xml(&file);
    QString context;
    TMessage message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const QStringView name = xml.name();
        if (name == u"name")
            context = xml.readElementText();
        else if (name == u"message")
            message = {context,
                       {},
                       {},
                       {},
                       xml.attributes().value(QStringLiteral("numerus")) == QLatin1String("yes")};
        else if (name == u"source")
            message.Source = xml.readElementText();
        else if (name == u"translation") {
            message.Type = xml.attributes().value(QStringLiteral("type")).toString();
            if (!message.Numerus) {
                message.Translations << xml.readElementText();
                messages << message;
            } else {
                while (xml.readNextStartElement())
                    message.Translations << xml.readElementText();
                messages << message;
            }
        }
    }
    if (xml.hasError())
        return {};
    return messages;
}

// The placeholders a text uses, in order of number: "%1", "%2", "%n".
QStringList Placeholders(const QString& text)
{
    static const QRegularExpression marker(QStringLiteral("%(\\d+|n)"));
    QStringList found;
    for (auto it = marker.globalMatch(text); it.hasNext();)
        found << it.next().captured(0);
    found.sort();
    found.removeDuplicates();
    return found;
}
} // namespace

// The English translation as the program embeds it: whole, and faithful to what its texts
// carry (placeholders and line breaks).
class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void everyMessageIsTranslated()
    {
        const QList<TMessage> messages = ReadTs(QStringLiteral(TENARAI_TS_FILE));
        QVERIFY2(messages.size() > 150, "the translation file cannot be read");
        for (const TMessage& m : messages) {
            const QString where = m.Context + QLatin1String(": ") + m.Source;
            QVERIFY2(m.Type.isEmpty(), qPrintable(where + QLatin1String(" is ") + m.Type));
            QVERIFY2(!m.Translations.isEmpty(), qPrintable(where));
            QCOMPARE(m.Translations.size(), m.Numerus ? 2 : 1); // English: one and many
            for (const QString& text : m.Translations) {
                QVERIFY2(!text.trimmed().isEmpty(), qPrintable(where));
                QVERIFY2(Placeholders(text) == Placeholders(m.Source),
                         qPrintable(where + QLatin1String(" → ") + text));
                QVERIFY2(text.count(QLatin1Char('\n')) == m.Source.count(QLatin1Char('\n')) ||
                             m.Source.startsWith(QStringLiteral("使い方")),
                         qPrintable(where + QLatin1String(" → ") + text));
                QVERIFY2(text.endsWith(QLatin1Char('\n')) == m.Source.endsWith(QLatin1Char('\n')),
                         qPrintable(where + QLatin1String(" → ") + text));
                // English through and through: no Japanese left in a translation.
                static const QRegularExpression japanese(
                    QStringLiteral("[\\x{3040}-\\x{30ff}\\x{4e00}-\\x{9fff}]"));
                QVERIFY2(!japanese.match(text).hasMatch(), qPrintable(where + QLatin1String(" → ") + text));
            }
        }
    }

    // The help text breaks its lines where it likes, so only its options are compared.
    void helpNamesEveryOption()
    {
        for (const TMessage& m : ReadTs(QStringLiteral(TENARAI_TS_FILE))) {
            if (!m.Source.startsWith(QStringLiteral("使い方")))
                continue;
            static const QRegularExpression option(QStringLiteral("(?<![\\w-])--?[a-z][a-z-]*"));
            QStringList inSource, inEnglish;
            for (auto it = option.globalMatch(m.Source); it.hasNext();)
                inSource << it.next().captured(0);
            for (auto it = option.globalMatch(m.Translations.value(0)); it.hasNext();)
                inEnglish << it.next().captured(0);
            inSource.removeDuplicates();
            inEnglish.removeDuplicates();
            QCOMPARE(inEnglish, inSource);
            return;
        }
        QFAIL("no help text");
    }
};

QTEST_APPLESS_MAIN(TestTranslations)
#include "tst_translations.moc"
