#include "usage/LogDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A Korean Windows 7 computer.
LogEnvironment KoreanComputer() {
    LogEnvironment environment;
    environment.userAgent =
        L"Kestrix/5.0 (pc, Windows 7/6.1, ko-KR) KestrixDownloader/8.1.13.27212.PROD";
    environment.localIp = L"192.168.0.10";
    environment.deviceId = L"9b1f7c2e4a6d8b0f1e3c5a7d9b2f4e6a#7";
    environment.timeZone.available = true;
    environment.timeZone.tzos = 32400;
    environment.timeZone.tzid = L"Korea Standard Time";
    return environment;
}

const char kKoreanContext[] =
    "\"ctx\":{\"bid\":\"9b1f7c2e4a6d8b0f1e3c5a7d9b2f4e6a#7\",\"nos\":true,"
    "\"tms\":1386561234567.0,\"ts\":1386561234,\"tzid\":\"Korea Standard Time\",\"tzos\":32400}";
const char kKoreanClient[] =
    "\"ui\":{\"ip\":\"192.168.0.10\",\"ua\":\"Kestrix/5.0 (pc, Windows 7/6.1, ko-KR) "
    "KestrixDownloader/8.1.13.27212.PROD\"}";

UsageEventRecord Event(const wchar_t* screen, const wchar_t* label) {
    UsageEventRecord record;
    record.t = L"e";
    record.v = L"1.1";
    record.dp = L"InstallManager";
    record.dt = screen;
    record.ec = L"ux";
    record.ea = L"cl";
    record.el = label;
    record.timeMs = 1386561234567ull;
    return record;
}

UsageEventRecord PageView(const wchar_t* screen, const wchar_t* managerJson) {
    UsageEventRecord record;
    record.t = L"p";
    record.v = L"1.1";
    record.cobj = managerJson;
    record.dp = L"InstallManager";
    record.dt = screen;
    record.timeMs = 1386561234567ull;
    return record;
}

std::string Build(const UsageEventRecord& record, const LogEnvironment& environment) {
    std::string out = "left over from an earlier document";
    BuildLogDocument(record, environment, out);
    return out;
}

// The member of the document that begins with "key":, up to the next
// top-level member.
std::string Member(const std::string& document, const std::string& key) {
    const size_t start = document.find("\"" + key + "\":");
    if (start == std::string::npos)
        return std::string();
    int depth = 0;
    for (size_t i = start; i < document.size(); ++i) {
        const char c = document[i];
        if (c == '{')
            ++depth;
        else if (c == '}' && depth-- == 0)
            return document.substr(start, i - start);
        else if (c == ',' && depth == 0)
            return document.substr(start, i - start);
    }
    return document.substr(start);
}

} // namespace

TEST(LogDocument, RetryEventIsWrittenByteForByte) {
    const std::string expected = std::string("{") + kKoreanContext +
                                 ",\"obj\":{\"dp\":\"InstallManager\",\"dt\":\"FailDownloading\","
                                 "\"ea\":\"cl\",\"ec\":\"ux\","
                                 "\"el\":\"Retry\"},\"ti\":{\"t\":\"e\",\"v\":\"1.1\"}," +
                                 kKoreanClient + "}\n";
    EXPECT_EQ(Build(Event(L"FailDownloading", L"Retry"), KoreanComputer()), expected);
}

TEST(LogDocument, PageViewCarriesTheManagerObjectFirst) {
    const std::string expected =
        std::string("{\"cobj\":{\"managerName\":\"KestrixOfficeInstaller\"},") + kKoreanContext +
        ",\"obj\":{\"dp\":\"InstallManager\",\"dt\":\"ConnectInternet\"},"
        "\"ti\":{\"t\":\"p\",\"v\":\"1.1\"}," +
        kKoreanClient + "}\n";
    const auto record =
        PageView(L"ConnectInternet", L"{\"managerName\" : \"KestrixOfficeInstaller\" }");
    EXPECT_EQ(Build(record, KoreanComputer()), expected);
}

TEST(LogDocument, EventKeysFollowTheKindAndTheTexts) {
    UsageEventRecord noScreen = Event(L"", L"Close");
    EXPECT_EQ(Member(Build(noScreen, KoreanComputer()), "obj"),
              "\"obj\":{\"dp\":\"InstallManager\",\"ea\":\"cl\",\"ec\":\"ux\",\"el\":\"Close\"}");

    // "E" counts as an event; absent category and action are written empty.
    UsageEventRecord upper = Event(L"CancelInstall", nullptr);
    upper.t = L"E";
    upper.ec = nullptr;
    upper.ea = nullptr;
    EXPECT_EQ(
        Member(Build(upper, KoreanComputer()), "obj"),
        "\"obj\":{\"dp\":\"InstallManager\",\"dt\":\"CancelInstall\",\"ea\":\"\",\"ec\":\"\"}");

    // Category and action belong to events only; "ex" is no event.
    UsageEventRecord notEvent = Event(L"Downloading", L"");
    notEvent.t = L"ex";
    EXPECT_EQ(Member(Build(notEvent, KoreanComputer()), "obj"),
              "\"obj\":{\"dp\":\"InstallManager\",\"dt\":\"Downloading\"}");
}

TEST(LogDocument, EmptyRecordStillGivesACompleteDocument) {
    UsageEventRecord empty;
    LogEnvironment nothing;
    EXPECT_EQ(Build(empty, nothing),
              "{\"ctx\":{\"bid\":\"\",\"nos\":true,\"tms\":0.0,\"ts\":0},\"obj\":null,"
              "\"ti\":{\"t\":\"\",\"v\":\"\"},\"ui\":{\"ip\":\"\",\"ua\":\"\"}}\n");
}

TEST(LogDocument, ManagerObjectOnlyWhenItsTextParses) {
    for (const wchar_t* cobj : {static_cast<const wchar_t*>(nullptr), L"",
                                L"KestrixOfficeInstaller", L"{\"managerName\" : \"a\"b\" }"}) {
        const std::string document = Build(PageView(L"ConnectInternet", cobj), KoreanComputer());
        EXPECT_EQ(document.find("cobj"), std::string::npos);
        EXPECT_EQ(document.compare(0, 7, "{\"ctx\":"), 0);
    }
}

TEST(LogDocument, WithoutTheTimeZoneQueryContextHoldsFourKeys) {
    LogEnvironment windowsXp = KoreanComputer();
    windowsXp.timeZone = TimeZoneValues();
    EXPECT_EQ(Member(Build(Event(L"Downloading", L"Close"), windowsXp), "ctx"),
              "\"ctx\":{\"bid\":\"9b1f7c2e4a6d8b0f1e3c5a7d9b2f4e6a#7\",\"nos\":true,"
              "\"tms\":1386561234567.0,\"ts\":1386561234}");
}

TEST(LogDocument, NonAsciiTextsAreRawUtf8) {
    LogEnvironment environment = KoreanComputer();
    environment.timeZone.tzid = L"\xB300\xD55C\xBBFC\xAD6D \xD45C\xC900\xC2DC";
    const auto record =
        PageView(L"ConnectInternet", L"{\"managerName\" : \"\x0423\x0441\x0442\" }");
    const std::string document = Build(record, environment);
    EXPECT_EQ(Member(document, "cobj"), "\"cobj\":{\"managerName\":\"\xD0\xA3\xD1\x81\xD1\x82\"}");
    EXPECT_NE(document.find("\"tzid\":\"\xEB\x8C\x80\xED\x95\x9C\xEB\xAF\xBC\xEA\xB5\xAD "
                            "\xED\x91\x9C\xEC\xA4\x80\xEC\x8B\x9C\""),
              std::string::npos);
    EXPECT_EQ(document.find("\\u"), std::string::npos);
}

TEST(LogDocument, QuotesAndControlCharactersAreEscaped) {
    const auto record = Event(L"Fail\"Downloading\\", L"a\tb\nc\x01");
    EXPECT_EQ(Member(Build(record, KoreanComputer()), "obj"),
              "\"obj\":{\"dp\":\"InstallManager\",\"dt\":\"Fail\\\"Downloading\\\\\","
              "\"ea\":\"cl\",\"ec\":\"ux\",\"el\":\"a\\tb\\nc\\u0001\"}");
}

TEST(LogDocument, SecondsStayPositiveAfter2038) {
    UsageEventRecord record = Event(L"Downloading", L"Close");
    record.timeMs = 2147483648000ull; // 2038-01-19 03:14:08 UTC
    std::string document = Build(record, KoreanComputer());
    EXPECT_NE(document.find("\"tms\":2147483648000.0,\"ts\":2147483648,"), std::string::npos);

    record.timeMs = 32503680000123ull; // year 3000
    document = Build(record, KoreanComputer());
    EXPECT_NE(document.find("\"tms\":32503680000123.0,\"ts\":32503680000,"), std::string::npos);
}
