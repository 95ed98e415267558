#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "tests/standin/StandinFixture.h"
#include "tools/standin/GeneratedContent.h"
#include "tools/standin/Sha256.h"

namespace standintest {
namespace {

using testsupport::StandinPackage;

using PackageHostTest = StandinTest;

std::string sha256(const std::string& bytes) {
    standin::Sha256 digest;
    digest.update(bytes.data(), bytes.size());
    return digest.hexDigest();
}

RawResponse fetch(const std::string& name, const char* method = "GET") {
    return parseResponse(
        roundTrip(StandinTest::ports().package,
                  std::string(method) + " /packages/" + name + " HTTP/1.1\r\n\r\n"));
}

TEST(GeneratedContent, GivesTheSameBytesWhateverTheOffsetAndPieceSize) {
    std::string whole(1000, '\0');
    standin::generateBytes(9, 0, whole.data(), whole.size());
    for (std::uint64_t offset : {1u, 7u, 8u, 13u, 500u}) {
        std::string piece(37, '\0');
        standin::generateBytes(9, offset, piece.data(), piece.size());
        EXPECT_EQ(piece, whole.substr(offset, piece.size())) << "offset " << offset;
    }
    std::string otherSeed(1000, '\0');
    standin::generateBytes(10, 0, otherSeed.data(), otherSeed.size());
    EXPECT_NE(otherSeed, whole);
}

TEST_F(PackageHostTest, ServesAGeneratedPackageWhoseHashMatchesTheRegistration) {
    const std::uint64_t size = 3 * 1024 * 1024 + 7;
    StandinPackage package = client().registerGeneratedPackage("Gen.exe", size, 42);
    EXPECT_EQ(package.size, size);
    EXPECT_EQ(package.url,
              "http://127.0.0.1:" + std::to_string(ports().package) + "/packages/Gen.exe");

    RawResponse response = fetch("Gen.exe");
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.header("Content-Length"), std::to_string(size));
    EXPECT_EQ(response.header("Content-Type"), "application/octet-stream");
    ASSERT_EQ(response.body.size(), size);
    EXPECT_EQ(sha256(response.body), package.sha256);

    EXPECT_EQ(client().registerGeneratedPackage("Same.exe", size, 42).sha256, package.sha256);
    EXPECT_NE(client().registerGeneratedPackage("Other.exe", size, 43).sha256, package.sha256);
    EXPECT_EQ(client().requests("package")[0].bodyBytesSent, size);
}

TEST_F(PackageHostTest, ServesAFileByteForByte) {
    ScratchDir dir;
    std::string path = dir.path() + "/setup.exe";
    std::string content;
    for (int i = 0; i < 70000; ++i) {
        content += static_cast<char>(i * 31 % 256);
    }
    std::ofstream(path, std::ios::binary) << content;
    StandinPackage package = client().registerPackageFile("KestrixOfficeSetup.exe", path);
    EXPECT_EQ(package.size, content.size());
    EXPECT_EQ(package.sha256, sha256(content));
    EXPECT_EQ(fetch("KestrixOfficeSetup.exe").body, content);
}

TEST_F(PackageHostTest, AnswersHeadWithTheLengthAndNoBody) {
    client().registerGeneratedPackage("Head.exe", 12345, 1);
    RawResponse response = fetch("Head.exe", "HEAD");
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.header("Content-Length"), "12345");
    EXPECT_TRUE(response.body.empty());
}

TEST_F(PackageHostTest, RefusesUnknownPackagesOtherMethodsAndBadRegistrations) {
    EXPECT_EQ(fetch("Missing.exe").status, 404);
    client().registerGeneratedPackage("There.exe", 10, 1);
    RawResponse post = fetch("There.exe", "POST");
    EXPECT_EQ(post.status, 405);
    EXPECT_EQ(post.header("Allow"), "GET, HEAD");
    EXPECT_THROW(client().registerPackageFile("Gone.exe", "/nonexistent/file.exe"),
                 std::runtime_error);
    EXPECT_THROW(client().registerGeneratedPackage("../escape", 10, 1), std::runtime_error);
}

TEST_F(PackageHostTest, ResetForgetsRegisteredPackages) {
    client().registerGeneratedPackage("Short.exe", 10, 1);
    EXPECT_EQ(fetch("Short.exe").status, 200);
    client().reset();
    EXPECT_EQ(fetch("Short.exe").status, 404);
}

std::string generated(std::uint64_t seed, std::size_t size) {
    std::string bytes(size, '\0');
    standin::generateBytes(seed, 0, bytes.data(), bytes.size());
    return bytes;
}

TEST_F(PackageHostTest, ScriptedDeliveryAppliesToPackageDownloads) {
    StandinPackage cutPackage = client().registerGeneratedPackage("Cut.exe", 100000, 5);
    client().registerGeneratedPackage("Swapped.exe", 50, 6);
    StandinAnswer cut;
    cut.dropAfterBytes = 4096;
    StandinAnswer swapped;
    swapped.package = "Swapped.exe";
    client().script("package", {cut, swapped});

    RawResponse first = fetch("Cut.exe");
    EXPECT_EQ(first.header("Content-Length"), "100000");
    EXPECT_EQ(first.body, generated(5, 100000).substr(0, 4096));
    EXPECT_EQ(sha256(generated(5, 100000)), cutPackage.sha256);

    RawResponse second = fetch("Cut.exe");
    EXPECT_EQ(second.header("Content-Length"), "50");
    EXPECT_EQ(second.body, generated(6, 50));
}

TEST_F(PackageHostTest, TheDefaultUpdateAnswerLeadsToTheRegisteredSetup) {
    StandinPackage package = client().registerGeneratedPackage("KestrixOfficeSetup.exe", 5000, 3);
    RawResponse update = parseResponse(askUpdate());
    EXPECT_NE(update.body.find("\"url\":\"" + package.url + "\""), std::string::npos)
        << update.body;
    EXPECT_EQ(sha256(fetch("KestrixOfficeSetup.exe").body), package.sha256);
}

} // namespace
} // namespace standintest
