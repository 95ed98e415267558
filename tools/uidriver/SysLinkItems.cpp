#include "tools/uidriver/SysLinkItems.h"

#include "tools/uidriver/DriverError.h"
#include "tools/uidriver/RemoteBuffer.h"
#include "tools/uidriver/SendWithTimeout.h"
#include "tools/uidriver/Utf8.h"

#include <commctrl.h>

namespace {

std::wstring Bounded(const WCHAR* text, size_t capacity) {
    size_t length = 0;
    while (length < capacity && text[length] != L'\0')
        ++length;
    return std::wstring(text, length);
}

} // namespace

Json::Value DescribeLinks(HWND sysLink) {
    RemoteBuffer remote(sysLink, sizeof(LITEM));
    Json::Value links(Json::arrayValue);
    for (int index = 0;; ++index) {
        LITEM item{};
        item.mask = LIF_ITEMINDEX | LIF_STATE | LIF_ITEMID | LIF_URL;
        item.iLink = index;
        item.stateMask = LIS_ENABLED | LIS_FOCUSED | LIS_VISITED;
        remote.write(&item, sizeof item);
        if (!SendWithTimeout(sysLink, LM_GETITEM, 0, remote.address()))
            break;
        remote.read(&item, sizeof item);
        Json::Value link(Json::objectValue);
        link["index"] = index;
        link["id"] = ToUtf8(Bounded(item.szID, MAX_LINKID_TEXT));
        link["url"] = ToUtf8(Bounded(item.szUrl, L_MAX_URL_LENGTH));
        link["enabled"] = (item.state & LIS_ENABLED) != 0;
        link["focused"] = (item.state & LIS_FOCUSED) != 0;
        link["visited"] = (item.state & LIS_VISITED) != 0;
        links.append(link);
    }
    return links;
}

POINT PointOnLink(HWND sysLink, int index) {
    RECT client{};
    GetClientRect(sysLink, &client);
    RemoteBuffer remote(sysLink, sizeof(LHITTESTINFO));
    // The control tells which link lies under a point but not where a link
    // lies: scan its client area, row by row, in steps smaller than a letter.
    constexpr int kStep = 3;
    for (LONG y = client.top + 1; y < client.bottom; y += kStep) {
        for (LONG x = client.left + 1; x < client.right; x += kStep) {
            LHITTESTINFO hit{};
            hit.pt = {x, y};
            hit.item.mask = LIF_ITEMINDEX;
            remote.write(&hit, sizeof hit);
            if (SendWithTimeout(sysLink, LM_HITTEST, 0, remote.address())) {
                remote.read(&hit, sizeof hit);
                if (hit.item.iLink == index)
                    return {x, y};
            }
        }
    }
    throw DriverError("no-link", "no link " + std::to_string(index) + " is shown");
}
