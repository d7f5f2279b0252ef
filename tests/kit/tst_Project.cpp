#include "Project.h"
#include "StoreError.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <random>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>

using namespace dictaro;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(dictaro::Project)
Q_DECLARE_METATYPE(std::optional<dictaro::Project>)

namespace {

QDateTime utc(const char* text)
{
    return QDateTime::fromString(QLatin1String(text), Qt::ISODateWithMs);
}

Project sampleProject()
{
    return Project{QUuid::fromString(QLatin1String("0f8fad5b-d9cb-469f-a165-70867728950e")),
                   u"Interview 3"_s,
                   QByteArray("\x00\x01\xfe\xff/+=", 7),
                   u"interview 3.m4a"_s,
                   QStringLiteral("[00:00:05] Hello \"there\"/\\ \n\tçağrı ✓ 😀 \x01"),
                   12.345,
                   1.2000000000000002,
                   utc("2025-03-01T14:05:09Z"),
                   utc("2025-03-02T08:00:00Z"),
                   {}};
}

QByteArray readFile(const QString& relative)
{
    QFile file(QStringLiteral(DICTARO_TEST_DATA "/") + relative);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing test data %s", qPrintable(relative));
    return file.readAll();
}

// The sample file with one member replaced (an undefined value removes it).
QByteArray sampleWith(const QString& key, const QJsonValue& value)
{
    QJsonObject object = QJsonDocument::fromJson(encodeProject(sampleProject())).object();
    if (value.isUndefined())
        object.remove(key);
    else
        object.insert(key, value);
    return QJsonDocument(object).toJson();
}

} // namespace

class tst_Project : public QObject
{
    Q_OBJECT

private slots:
    void encode_matchesGoldenFiles();
    void roundTrip_keepsEveryFieldButTheFractionOfASecond();
    void roundTrip_doublesReadBackBitForBit();
    void encode_refusesNonFiniteNumbers();
    void decode_data();
    void decode();
};

void tst_Project::encode_matchesGoldenFiles()
{
    QCOMPARE(encodeProject(sampleProject()), readFile(u"project-full.json"_s));
    Project minimal = sampleProject();
    minimal.mediaBookmark.reset();
    minimal.transcript.clear();
    minimal.name = u"a/b"_s;
    minimal.lastPosition = 0;
    minimal.playbackRate = 1;
    QCOMPARE(encodeProject(minimal), readFile(u"project-minimal.json"_s));

    // Members of a newer version are written back unchanged, sorted with the others.
    Project future = sampleProject();
    future.unknownMembers =
        QJsonDocument::fromJson(R"({"zebra":[1.5,{"b":true,"a":null}],"colour":"x/y",
                                    "big":12345678901234567})")
            .object();
    const QByteArray bytes = encodeProject(future);
    QVERIFY(decodeProject(bytes) == future);
    QVERIFY(bytes.contains("\"big\" : 12345678901234567"));
    QStringList keys;
    static const QRegularExpression topLevelKey(QStringLiteral("\n  \"(\\w+)\" :"));
    for (const auto& match : topLevelKey.globalMatch(QString::fromUtf8(bytes)))
        keys << match.captured(1);
    QCOMPARE(keys, (QStringList{u"big"_s, u"colour"_s, u"createdAt"_s, u"id"_s, u"lastPosition"_s,
                                u"mediaBookmark"_s, u"mediaFileName"_s, u"name"_s,
                                u"playbackRate"_s, u"transcript"_s, u"updatedAt"_s, u"zebra"_s}));
}

void tst_Project::roundTrip_keepsEveryFieldButTheFractionOfASecond()
{
    Project original = sampleProject();
    original.updatedAt = utc("2025-03-01T14:05:09.750Z");
    const Project decoded = decodeProject(encodeProject(original));
    Project expected = original;
    expected.updatedAt = utc("2025-03-01T14:05:09Z");
    QVERIFY(decoded == expected);

    // A date given in another zone is written as the same instant in UTC.
    original.createdAt = utc("2025-03-01T16:05:09+02:00");
    QVERIFY(encodeProject(original).contains("\"createdAt\" : \"2025-03-01T14:05:09Z\""));
}

void tst_Project::roundTrip_doublesReadBackBitForBit()
{
    QList<double> values = {-0.0, 0.1, 1e22, DBL_MAX, DBL_TRUE_MIN, -123456.789e-300};
    std::mt19937_64 random(20261206);
    while (values.size() < 2000) {
        const auto value = std::bit_cast<double>(quint64(random()));
        if (std::isfinite(value))
            values.append(value);
    }
    Project project = sampleProject();
    for (const double value : values) {
        project.lastPosition = value;
        project.playbackRate = -value;
        const Project decoded = decodeProject(encodeProject(project));
        // -0.0 may read back as 0.0; anything else must keep every bit.
        const bool same =
            std::bit_cast<quint64>(decoded.lastPosition) == std::bit_cast<quint64>(value);
        QVERIFY2(same || (value == 0 && decoded.lastPosition == 0),
                 QByteArray::number(value, 'g', 17).constData());
        QCOMPARE(decoded.playbackRate, -value);
    }
}

void tst_Project::encode_refusesNonFiniteNumbers()
{
    Project project = sampleProject();
    project.lastPosition = std::nan("");
    QVERIFY_THROWS_EXCEPTION(StoreError, encodeProject(project));
}

void tst_Project::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<std::optional<Project>>("expected"); // absent: must be refused

    const std::optional<Project> sample = sampleProject();
    std::optional<Project> noBookmark = sample;
    noBookmark->mediaBookmark.reset();
    QTest::newRow("null bookmark") << sampleWith("mediaBookmark", QJsonValue::Null) << noBookmark;
    Project coloured = *sample;
    coloured.unknownMembers.insert(u"colour"_s, u"blue"_s);
    QTest::newRow("future member") << sampleWith("colour", "blue") << std::optional(coloured);
    QTest::newRow("numeric zone offset")
        << sampleWith("updatedAt", "2025-03-02T10:00:00+02:00") << sample;

    const std::optional<Project> refused;
    const QByteArray valid = encodeProject(sampleProject());
    QTest::newRow("not JSON") << QByteArray("hello") << refused;
    for (const char* key : {"createdAt", "id", "lastPosition", "mediaFileName", "name",
                            "playbackRate", "transcript", "updatedAt"}) {
        QTest::addRow("missing %s", key) << sampleWith(key, QJsonValue::Undefined) << refused;
        QTest::addRow("null %s", key) << sampleWith(key, QJsonValue::Null) << refused;
    }
    QTest::newRow("position is a string") << sampleWith("lastPosition", "3") << refused;
    QTest::newRow("bookmark unpadded") << sampleWith("mediaBookmark", "YQ") << refused;
    QTest::newRow("id with braces")
        << sampleWith("id", "{0f8fad5b-d9cb-469f-a165-70867728950e}") << refused;
    // Qt would read a date without a zone as local time, shifting the instant.
    QTest::newRow("date without zone") << sampleWith("updatedAt", "2025-03-01T14:05:09") << refused;
    QTest::newRow("fuzzer: lone surrogate escape")
        << readFile(u"fuzz-regressions/lone-surrogate.json"_s) << refused;
    QTest::newRow("number too large") << QByteArray(valid).replace("12.345", "1e400") << refused;
}

void tst_Project::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(std::optional<Project>, expected);
    if (expected)
        QVERIFY(decodeProject(bytes) == *expected);
    else
        QVERIFY_THROWS_EXCEPTION(StoreError, decodeProject(bytes));
}

QTEST_GUILESS_MAIN(tst_Project)
#include "tst_Project.moc"
