#include "Project.h"
#include "StoreError.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace dictaro;

Q_DECLARE_METATYPE(dictaro::Project)

namespace {

QDateTime utc(const char* text)
{
    return QDateTime::fromString(QLatin1String(text), Qt::ISODateWithMs);
}

Project sampleProject()
{
    return Project{
        QUuid::fromString(QLatin1String("0f8fad5b-d9cb-469f-a165-70867728950e")),
        QStringLiteral("Interview 3"),
        QByteArray("\x00\x01\xfe\xff/+=", 7),
        QStringLiteral("interview 3.m4a"),
        QStringLiteral("[00:00:05] Hello \"there\"/\\ \n\tçağrı ✓ 😀 \x01"),
        12.345,
        1.2000000000000002,
        utc("2025-03-01T14:05:09Z"),
        utc("2025-03-02T08:00:00Z"),
    };
}

QByteArray golden(const char* name)
{
    QFile file(QStringLiteral(DICTARO_TEST_DATA "/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing golden file %s", name);
    return file.readAll();
}

// A minimal valid file as a JSON object, to be broken one member at a time.
QJsonObject validObject()
{
    return QJsonDocument::fromJson(encodeProject(sampleProject())).object();
}

} // namespace

class tst_Project : public QObject
{
    Q_OBJECT

private slots:
    void encode_matchesGoldenFile_data();
    void encode_matchesGoldenFile();
    void roundTrip_keepsEveryFieldButTheFractionOfASecond();
    void roundTrip_doublesReadBackBitForBit();
    void encode_refusesNonFiniteNumbers_data();
    void encode_refusesNonFiniteNumbers();
    void decode_acceptsLenientForms_data();
    void decode_acceptsLenientForms();
    void decode_rejectsBrokenRecords_data();
    void decode_rejectsBrokenRecords();
    void decode_survivesArbitraryBytes();
    void equality_comparesEveryField();
};

void tst_Project::encode_matchesGoldenFile_data()
{
    QTest::addColumn<Project>("project");
    QTest::addColumn<QString>("goldenName");

    QTest::newRow("full record") << sampleProject() << "project-full.json";
    Project minimal = sampleProject();
    minimal.mediaBookmark.reset();
    minimal.transcript.clear();
    minimal.name = QStringLiteral("a/b");
    minimal.lastPosition = 0;
    minimal.playbackRate = 1;
    QTest::newRow("no bookmark, empty transcript") << minimal << "project-minimal.json";
}

void tst_Project::encode_matchesGoldenFile()
{
    QFETCH(Project, project);
    QFETCH(QString, goldenName);
    QCOMPARE(encodeProject(project), golden(goldenName.toLatin1().constData()));
}

void tst_Project::roundTrip_keepsEveryFieldButTheFractionOfASecond()
{
    Project original = sampleProject();
    original.updatedAt = utc("2025-03-01T14:05:09.750Z");
    const Project decoded = decodeProject(encodeProject(original));

    QVERIFY(decoded != original); // the fraction of a second is gone
    QCOMPARE(decoded.updatedAt, utc("2025-03-01T14:05:09Z"));
    Project expected = original;
    expected.updatedAt = utc("2025-03-01T14:05:09Z");
    QVERIFY(decoded == expected);
    QCOMPARE(decoded.updatedAt.timeSpec(), Qt::UTC);

    // A date given in another zone is written as the same instant in UTC.
    original.createdAt = utc("2025-03-01T16:05:09+02:00");
    QVERIFY(encodeProject(original).contains("\"createdAt\" : \"2025-03-01T14:05:09Z\""));
}

void tst_Project::roundTrip_doublesReadBackBitForBit()
{
    std::mt19937_64 random(20261206);
    std::uniform_int_distribution<quint64> bits;
    QList<double> values = {0.0,
                            -0.0,
                            0.1,
                            1.0 / 3.0,
                            1e22,
                            1.2345678901234568e+20,
                            std::numeric_limits<double>::max(),
                            std::numeric_limits<double>::denorm_min(),
                            std::numeric_limits<double>::min(),
                            -123456.789e-300};
    while (values.size() < 2000) {
        const quint64 raw = bits(random);
        double value = 0;
        std::memcpy(&value, &raw, sizeof value);
        if (std::isfinite(value))
            values.append(value);
    }
    Project project = sampleProject();
    for (const double value : values) {
        project.lastPosition = value;
        project.playbackRate = -value;
        const Project decoded = decodeProject(encodeProject(project));
        if (std::memcmp(&decoded.lastPosition, &value, sizeof value) != 0 &&
            !(value == 0 && decoded.lastPosition == 0))
            QFAIL(qPrintable(QStringLiteral("%1 read back as %2")
                                 .arg(value, 0, 'g', 17)
                                 .arg(decoded.lastPosition, 0, 'g', 17)));
        QCOMPARE(decoded.playbackRate, -value);
    }
}

void tst_Project::encode_refusesNonFiniteNumbers_data()
{
    QTest::addColumn<double>("lastPosition");
    QTest::addColumn<double>("playbackRate");
    QTest::newRow("NaN position") << std::nan("") << 1.0;
    QTest::newRow("infinite rate") << 0.0 << std::numeric_limits<double>::infinity();
    QTest::newRow("negative infinity") << -std::numeric_limits<double>::infinity() << 1.0;
}

void tst_Project::encode_refusesNonFiniteNumbers()
{
    QFETCH(double, lastPosition);
    QFETCH(double, playbackRate);
    Project project = sampleProject();
    project.lastPosition = lastPosition;
    project.playbackRate = playbackRate;
    QVERIFY_THROWS_EXCEPTION(StoreError, encodeProject(project));
}

void tst_Project::decode_acceptsLenientForms_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<QString>("check");

    QTest::newRow("null bookmark")
        << "mediaBookmark" << QJsonValue(QJsonValue::Null) << "noBookmark";
    QTest::newRow("lower-case id")
        << "id" << QJsonValue("0f8fad5b-d9cb-469f-a165-70867728950e") << "id";
    QTest::newRow("integer rate") << "playbackRate" << QJsonValue(2) << "rate2";
    QTest::newRow("future member") << "colour" << QJsonValue("blue") << "none";
    QTest::newRow("fraction of a second")
        << "updatedAt" << QJsonValue("2025-03-02T08:00:00.250Z") << "none";
    QTest::newRow("numeric zone offset")
        << "updatedAt" << QJsonValue("2025-03-02T10:00:00+02:00") << "updated";
}

void tst_Project::decode_acceptsLenientForms()
{
    QFETCH(QString, key);
    QFETCH(QJsonValue, value);
    QFETCH(QString, check);
    QJsonObject object = validObject();
    object.insert(key, value);
    const Project project = decodeProject(QJsonDocument(object).toJson());
    if (check == u"noBookmark")
        QVERIFY(!project.mediaBookmark.has_value());
    else if (check == u"id")
        QCOMPARE(project.id, sampleProject().id);
    else if (check == u"rate2")
        QCOMPARE(project.playbackRate, 2.0);
    else if (check == u"updated")
        QCOMPARE(project.updatedAt, utc("2025-03-02T08:00:00Z"));
}

void tst_Project::decode_rejectsBrokenRecords_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const auto with = [](const char* key, const QJsonValue& value) {
        QJsonObject object = validObject();
        object.insert(QLatin1String(key), value);
        return QJsonDocument(object).toJson();
    };
    const auto without = [](const char* key) {
        QJsonObject object = validObject();
        object.remove(QLatin1String(key));
        return QJsonDocument(object).toJson();
    };

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not JSON") << QByteArray("hello");
    QTest::newRow("array") << QByteArray("[1,2]");
    QTest::newRow("truncated") << encodeProject(sampleProject()).chopped(3);
    for (const char* key : {"createdAt", "id", "lastPosition", "mediaFileName", "name",
                            "playbackRate", "transcript", "updatedAt"}) {
        QTest::addRow("missing %s", key) << without(key);
        QTest::addRow("null %s", key) << with(key, QJsonValue(QJsonValue::Null));
    }
    QTest::newRow("name is a number") << with("name", 3);
    QTest::newRow("position is a string") << with("lastPosition", "3");
    QTest::newRow("transcript is an array") << with("transcript", QJsonArray{});
    QTest::newRow("bookmark is a number") << with("mediaBookmark", 5);
    QTest::newRow("bookmark not Base64") << with("mediaBookmark", "@@@@");
    QTest::newRow("bookmark unpadded") << with("mediaBookmark", "YQ");
    QTest::newRow("id with braces") << with("id", "{0f8fad5b-d9cb-469f-a165-70867728950e}");
    QTest::newRow("id too short") << with("id", "0f8fad5b-d9cb-469f-a165-70867728950");
    QTest::newRow("id not hex") << with("id", "0f8fad5b-d9cb-469f-a165-70867728950g");
    QTest::newRow("updatedAt empty") << with("updatedAt", "");
    QTest::newRow("date without zone") << with("updatedAt", "2025-03-01T14:05:09");
    QTest::newRow("date only") << with("createdAt", "2025-03-01");
    QTest::newRow("impossible date") << with("createdAt", "2025-02-30T14:05:09Z");
    QTest::newRow("lone surrogate") << with("transcript", QString(QChar(0xd800)));
    QTest::newRow("fuzzer: lone surrogate escape") << [] {
        QFile file(QStringLiteral(DICTARO_TEST_DATA "/fuzz-regressions/lone-surrogate.json"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    QTest::newRow("number too large")
        << QByteArray(encodeProject(sampleProject()).replace("12.345", "1e400"));
}

void tst_Project::decode_rejectsBrokenRecords()
{
    QFETCH(QByteArray, bytes);
    QVERIFY_THROWS_EXCEPTION(StoreError, decodeProject(bytes));
}

void tst_Project::decode_survivesArbitraryBytes()
{
    // Mutations of a valid file must end in a record or an error; the fuzzer goes much further.
    const QByteArray valid = encodeProject(sampleProject());
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = valid;
        const int edits = 1 + int(random() % 4);
        for (int e = 0; e < edits; ++e) {
            const auto at = qsizetype(random() % quint32(bytes.size()));
            switch (random() % 3) {
            case 0:
                bytes[at] = char(random());
                break;
            case 1:
                bytes.remove(at, 1 + qsizetype(random() % 8));
                break;
            default:
                bytes.insert(at, char(random()));
                break;
            }
        }
        try {
            const Project project = decodeProject(bytes);
            QVERIFY(std::isfinite(project.lastPosition) && std::isfinite(project.playbackRate));
        } catch (const StoreError&) {
        }
    }
}

void tst_Project::equality_comparesEveryField()
{
    const Project a = sampleProject();
    QVERIFY(a == sampleProject());

    Project b = a;
    b.updatedAt = b.updatedAt.addSecs(1);
    QVERIFY(a != b);
    b = a;
    b.mediaBookmark.reset();
    QVERIFY(a != b);
    b = a;
    b.mediaBookmark = QByteArray();
    QVERIFY(a != b); // present but empty is not absent
    b = a;
    b.lastPosition = std::nan("");
    QVERIFY(!(b == b)); // NaN is never equal to itself
}

QTEST_GUILESS_MAIN(tst_Project)
#include "tst_Project.moc"
