#include "tests/e2e/UsageEvents.h"

#include "tests/e2e/InstallerSession.h"

#include <cryptopp/hex.h>
#define CRYPTOPP_ENABLE_NAMESPACE_WEAK 1
#include <cryptopp/md5.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace e2e {

std::vector<UsageEvent> CollectedEvents() {
    std::vector<UsageEvent> events;
    for (const testsupport::StandinRequest& request :
         Session::Standin().requests(testsupport::kStandinCollector)) {
        if (request.outcome != "complete")
            continue;
        UsageEvent event;
        event.body = request.body;
        event.userAgentHeader = request.header("User-Agent").value_or("");
        Json::Reader reader;
        if (!reader.parse(request.body, event.document) || !event.document.isObject()) {
            ADD_FAILURE() << "a collected document does not parse: " << request.body;
            continue;
        }
        event.kind = event.document["ti"]["t"].asString();
        event.screen = event.document["obj"]["dt"].asString();
        event.label = event.document["obj"].get("el", "").asString();
        event.tms = event.document["ctx"]["tms"].asDouble();
        events.push_back(event);
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const UsageEvent& a, const UsageEvent& b) { return a.tms < b.tms; });
    return events;
}

std::vector<std::string> SortedNames(const std::vector<UsageEvent>& events) {
    std::vector<std::string> names;
    for (const UsageEvent& event : events)
        names.push_back(event.Name());
    std::sort(names.begin(), names.end());
    return names;
}

std::string ExpectedDeviceId() {
    std::string chosen;
    for (const auto& entry : std::filesystem::directory_iterator("/sys/class/net")) {
        if (entry.path().filename() == "lo")
            continue;
        std::ifstream in(entry.path() / "address");
        std::string address;
        in >> address;
        std::string text;
        for (char c : address) {
            if (c != ':')
                text += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        if (text.size() <= 12 && text > chosen)
            chosen = text;
    }
    CryptoPP::Weak1::MD5 md5;
    md5.Update(reinterpret_cast<const CryptoPP::byte*>(chosen.data()), chosen.size());
    CryptoPP::byte digest[CryptoPP::Weak1::MD5::DIGESTSIZE];
    md5.Final(digest);
    std::string hex;
    CryptoPP::HexEncoder encoder(new CryptoPP::StringSink(hex), false);
    encoder.Put(digest, sizeof(digest));
    encoder.MessageEnd();
    return hex + "#7";
}

bool IsCanonicalCompactDocument(const std::string& body) {
    Json::Value document;
    Json::Reader reader;
    if (!reader.parse(body, document))
        return false;
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, document) + "\n" == body;
}

} // namespace e2e
