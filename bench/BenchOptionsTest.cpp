#include "bench/BenchOptions.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kUrl = L"http://127.0.0.1:18081/packages/bench.bin";
const std::wstring kHashUpper = L"E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855";
const std::string kHashLower = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

void ExpectRejected(const std::vector<std::wstring>& arguments, const std::string& fragment) {
    try {
        ParseBenchOptions(arguments);
        ADD_FAILURE() << "accepted; expected an error naming " << fragment;
    } catch (const std::invalid_argument& error) {
        EXPECT_NE(std::string(error.what()).find(fragment), std::string::npos) << error.what();
    }
}

} // namespace

TEST(BenchOptions, DefaultsAndEverySetting) {
    const BenchOptions plain = ParseBenchOptions({kUrl, L"67108864"});
    EXPECT_EQ(plain.url, kUrl);
    EXPECT_EQ(plain.size, 67108864u);
    EXPECT_TRUE(plain.sha256.empty());
    EXPECT_EQ(plain.rounds, 3);
    EXPECT_EQ(plain.warmupRounds, 1);
    EXPECT_TRUE(plain.folder.empty());

    const BenchOptions full =
        ParseBenchOptions({L"--rounds", L"5", kUrl, L"--warmup", L"0", L"536870912", kHashUpper,
                           L"--folder", L"C:\\bench"});
    EXPECT_EQ(full.rounds, 5);
    EXPECT_EQ(full.warmupRounds, 0);
    EXPECT_EQ(full.size, 536870912u);
    EXPECT_EQ(full.sha256, kHashLower);
    EXPECT_EQ(full.folder, L"C:\\bench");
}

TEST(BenchOptions, BadPackageArgumentsAreRefusedWithTheReason) {
    ExpectRejected({}, "URL SIZE");
    ExpectRejected({kUrl}, "URL SIZE");
    ExpectRejected({kUrl, L"1", kHashUpper, L"extra"}, "URL SIZE");
    ExpectRejected({L"ftp://127.0.0.1/x", L"1"}, "http or https");
    ExpectRejected({kUrl, L"0"}, "at least one byte");
    ExpectRejected({kUrl, L"12k"}, "decimal");
    ExpectRejected({kUrl, L"-1"}, "decimal");
    ExpectRejected({kUrl, L"99999999999999999999"}, "decimal");
    ExpectRejected({kUrl, L"1", kHashUpper.substr(1)}, "64 hex digits");
    ExpectRejected({kUrl, L"1", L"g" + kHashUpper.substr(1)}, "64 hex digits");
}

TEST(BenchOptions, BadOptionsAreRefusedWithTheReason) {
    ExpectRejected({L"--rounds", L"0", kUrl, L"1"}, "--rounds");
    ExpectRejected({L"--rounds", L"101", kUrl, L"1"}, "--rounds");
    ExpectRejected({L"--warmup", L"x", kUrl, L"1"}, "--warmup");
    ExpectRejected({kUrl, L"1", L"--rounds"}, "needs a value");
    ExpectRejected({L"--folder", L"", kUrl, L"1"}, "needs a value");
    ExpectRejected({L"--fast", L"1", kUrl, L"1"}, "unknown option");
}
