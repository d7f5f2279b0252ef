#include "Project.h"
#include "StoreError.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <random>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
                   QStringLiteral("[00:00:05] Hello \"there\"/\\ \n\tçağrı ✓ 😀 \x1f"),
                   12.345,
                   1.2000000000000002,
                   utc("2025-03-01T14:05:09Z"),
                   utc("2025-03-02T08:00:00Z"),
                   {},
                   {},
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

// The sample file with members inserted as written, before the others.
QByteArray sampleWithLiteral(const char* members)
{
    QByteArray bytes = encodeProject(sampleProject());
    bytes.insert(1, QByteArray("\n  ") + members + ',');
    return bytes;
}

} // namespace

class tst_Project : public QObject
{
    Q_OBJECT

private slots:
    void encode_matchesGoldenFile()
    {
        QCOMPARE(encodeProject(sampleProject()), readFile(u"project-full.json"_s));
        // Members of a newer version are written back unchanged, sorted with the others.
        Project future = sampleProject();
        future.unknownMembers =
            QJsonDocument::fromJson(R"({"zebra":[1.5,{"b":true,"a":null}],"colour":"x/y",
                                    "big":12345678901234567})")
                .object();
        const QByteArray bytes = encodeProject(future);
        QVERIFY(bytes.startsWith("{\n  \"big\" : 12345678901234567,\n  \"colour\""));
        QVERIFY(bytes.indexOf("\"updatedAt\"") < bytes.indexOf("\"zebra\""));
    }

    void roundTrip_keepsEveryFieldAndEveryBitOfTheNumbers()
    {
        // Dates keep whole UTC seconds, rounded down, also before 1970; other zones become UTC.
        Project project = sampleProject();
        project.createdAt = utc("1969-12-31T23:59:59.750Z");
        project.updatedAt = utc("2025-03-01T16:05:09.250+02:00");
        Project expected = project;
        expected.createdAt = utc("1969-12-31T23:59:59Z");
        expected.updatedAt = utc("2025-03-01T14:05:09Z");
        QCOMPARE(decodeProject(encodeProject(project)), expected);

        std::mt19937_64 random(20261206);
        for (int i = 0; i < 2000; ++i) {
            const double value = i == 0 ? DBL_TRUE_MIN : std::bit_cast<double>(quint64(random()));
            if (!std::isfinite(value))
                continue;
            project.lastPosition = value;
            const double decoded = decodeProject(encodeProject(project)).lastPosition;
            QVERIFY2(std::bit_cast<quint64>(decoded) == std::bit_cast<quint64>(value),
                     QByteArray::number(value, 'g', 17).constData());
        }
    }

    void encode_refusesWhatCouldNotBeReadBack()
    {
        for (const double bad : {NAN, INFINITY, -INFINITY}) {
            Project project = sampleProject();
            project.playbackRate = bad;
            QVERIFY_THROWS_EXCEPTION(StoreError, encodeProject(project));
        }
        Project project = sampleProject();
        project.updatedAt = utc("9999-12-31T23:59:59Z").addSecs(1);
        QVERIFY_THROWS_EXCEPTION(StoreError, encodeProject(project));
    }

    void sound_writtenOnlyWhenChangedAndHostileValuesNeverFail()
    {
        // The golden file has the default sound: no member is written for it.
        Project project = sampleProject();
        project.sound = {150.0, Channels::Right, true};
        const QByteArray bytes = encodeProject(project);
        QVERIFY(bytes.contains("\"volume\" : 150\n") &&
                bytes.contains("\"channels\" : \"right\",") &&
                bytes.contains("\"voiceFilter\" : true"));
        QCOMPARE(decodeProject(bytes), project);

        const auto soundOf = [](const QByteArray& file) { return decodeProject(file).sound; };
        QCOMPARE(soundOf(sampleWith(u"volume"_s, -5)).volume, 0.0);
        QCOMPARE(soundOf(sampleWith(u"volume"_s, 1e6)).volume, 200.0);
        QCOMPARE(soundOf(sampleWithLiteral("\"volume\" : 1e300")).volume, 200.0);
        QCOMPARE(soundOf(sampleWith(u"volume"_s, u"loud"_s)).volume, 100.0);
        QCOMPARE(soundOf(sampleWith(u"channels"_s, u"LEFT"_s)).channels, Channels::Both);
        QCOMPARE(soundOf(sampleWith(u"channels"_s, 1)).channels, Channels::Both);
        QCOMPARE(soundOf(sampleWith(u"channels"_s, u"left"_s)).channels, Channels::Left);
        QCOMPARE(soundOf(sampleWith(u"voiceFilter"_s, u"yes"_s)).voiceFilter, false);
        // Ignored values are not kept as members of a newer version either.
        QVERIFY(!encodeProject(decodeProject(sampleWith(u"volume"_s, u"loud"_s))).contains("loud"));
    }

    void unknownNumbers_keepEveryDigit()
    {
        // Beyond 64 bits, more digits than a double holds, beyond a double's range; at any depth.
        const char* literals[] = {"18446744073709551617", "-92233720368547758080",
                                  "3.141592653589793238462643", "1e400", "1E-400"};
        const QByteArray bytes = sampleWithLiteral(
            R"("huge" : 18446744073709551617, "future" : {"limits" : [-92233720368547758080,
           3.141592653589793238462643, 1e400, 1E-400, 0.5, 9007199254740993]})");
        const Project project = decodeProject(bytes);
        const QByteArray written = encodeProject(project);
        for (const char* literal : literals)
            QVERIFY2(written.contains(literal), literal);
        QVERIFY(written.contains("\"huge\" : 18446744073709551617,"));
        QCOMPARE(decodeProject(written), project);
        // What a double or a 64-bit integer holds stays a number.
        const QJsonArray limits = project.unknownMembers.value(u"future"_s)[u"limits"_s].toArray();
        QCOMPARE(limits.at(4), QJsonValue(0.5));
        QCOMPARE(limits.at(5).toInteger(), 9007199254740993);

        // The record's own numbers are read as numbers, whatever their digits.
        QByteArray position = encodeProject(sampleProject());
        position.replace("12.345,", "12.34500000000000000000001,");
        QCOMPARE(decodeProject(position).lastPosition, 12.345);
    }

    void speakers_writtenOnlyWhenThereAreSome()
    {
        Project project = sampleProject();
        project.speakers = {u"Anna"_s, u"Dr. Öz"_s};
        const QByteArray bytes = encodeProject(project);
        QCOMPARE(bytes, readFile(u"project-speakers.json"_s));
        QCOMPARE(decodeProject(bytes), project);
        // A value that is no list is kept for whoever wrote it, until the project has speakers.
        Project other = decodeProject(sampleWith("speakers", QJsonObject{{"a", 1}}));
        QVERIFY(other.speakers.isEmpty());
        QCOMPARE(decodeProject(encodeProject(other)), other);
        other.speakers = {u"Bo"_s};
        const QJsonObject written = QJsonDocument::fromJson(encodeProject(other)).object();
        QCOMPARE(written.value("speakers"), QJsonArray{u"Bo"_s});
    }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<std::optional<Project>>("expected"); // absent: must be refused

        const std::optional<Project> sample = sampleProject();
        std::optional<Project> noBookmark = sample;
        noBookmark->mediaBookmark.reset();
        QTest::newRow("null bookmark")
            << sampleWith("mediaBookmark", QJsonValue::Null) << noBookmark;
        Project coloured = *sample;
        coloured.unknownMembers.insert(u"colour"_s, u"blue"_s);
        QTest::newRow("future member") << sampleWith("colour", "blue") << std::optional(coloured);
        Project speaking = *sample;
        speaking.speakers = {u"Anna"_s, u"Bo Li"_s};
        const QJsonArray mixed{u" Anna "_s, 3,        u"Bo  Li"_s,       QJsonValue::Null,
                               u"Anna"_s,   u"a:b"_s, QString(41, u'x'), QJsonArray{u"Cy"_s}};
        QTest::newRow("speakers cleaned")
            << sampleWith("speakers", mixed) << std::optional(speaking);
        QJsonArray many;
        std::optional<Project> limited = sample; // the first thousand
        for (int i = 0; i < 3000; ++i) {
            many.append(QString::number(i));
            if (i < 1000)
                limited->speakers.append(QString::number(i));
        }
        QTest::newRow("speakers beyond the limit") << sampleWith("speakers", many) << limited;
        QTest::newRow("speakers: a number beyond a double")
            << sampleWithLiteral(R"("speakers" : [1e400, "Anna", "Bo Li"])")
            << std::optional(speaking);
        QTest::newRow("negative zone offset")
            << sampleWith("updatedAt", "2025-03-02T03:00:00-05:00") << sample;

        const std::optional<Project> refused;
        QTest::newRow("not JSON") << QByteArray("hello") << refused;
        for (const char* key : {"createdAt", "id", "lastPosition", "mediaFileName", "name",
                                "playbackRate", "transcript", "updatedAt"})
            QTest::addRow("missing %s", key) << sampleWith(key, QJsonValue::Undefined) << refused;
        QTest::newRow("position is a string") << sampleWith("lastPosition", "3") << refused;
        QTest::newRow("bookmark unpadded") << sampleWith("mediaBookmark", "YQ") << refused;
        QTest::newRow("id with braces")
            << sampleWith("id", "{0f8fad5b-d9cb-469f-a165-70867728950e}") << refused;
        // Qt would read a date without a zone as local time, shifting the instant.
        QTest::newRow("date without zone")
            << sampleWith("updatedAt", "2025-03-01T14:05:09") << refused;
        QTest::newRow("space for T") << sampleWith("updatedAt", "2025-03-01 14:05:09Z") << refused;
        QTest::newRow("string passing for a kept number")
            << sampleWithLiteral(R"("future" : ["\uDC0012"])") << refused;
        QTest::newRow("fuzzer: lone surrogate escape")
            << readFile(u"fuzz-regressions/fuzz_project_decoder/lone-surrogate.json"_s) << refused;
        QTest::newRow("fuzzer: lone surrogate hidden by a duplicate member")
            << readFile(u"fuzz-regressions/fuzz_project_decoder/hidden-surrogate-duplicate.json"_s)
            << refused;
    }

    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(std::optional<Project>, expected);
        if (expected)
            QCOMPARE(decodeProject(bytes), *expected);
        else
            QVERIFY_THROWS_EXCEPTION(StoreError, decodeProject(bytes));
    }
};

QTEST_GUILESS_MAIN(tst_Project)
#include "tst_Project.moc"
