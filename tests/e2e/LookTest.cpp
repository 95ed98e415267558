// The window's look under Wine as the screen shows it: the pixel layout in
// every language, the Korean template, the mirrored Arabic window, and the
// progress bar's modes and colours.
#include "tests/e2e/InstallerSession.h"
#include "tests/e2e/ScreenPixels.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <thread>

namespace e2e {
namespace {

using testsupport::Rect;
using testsupport::StandinAnswer;

const Rgb kBar{29, 130, 255};
const Rgb kBarBackground{230, 230, 230};
const Rgb kWhite{255, 255, 255};
const char kHelpUrl[] = "https://localhost/help/troubleshoot-installation-problems";
const char kRlm[] = "\u200F";

// The locales that give the fifteen languages of the resources.
const char* const kLocales[] = {"ar_SA", "zh_TW", "de_DE", "en_US", "fr_FR",
                                "it_IT", "ja_JP", "ko_KR", "pl_PL", "pt_BR",
                                "ru_RU", "id_ID", "zh_CN", "pt_PT", "es_ES"};

std::string Describe(const Rect& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " +
           std::to_string(rect.width()) + "x" + std::to_string(rect.height());
}

std::string Describe(int x, int y, int width, int height) {
    return Describe(Rect{x, y, x + width, y + height});
}

Rect RectOf(const WindowInfo& info, int id) {
    const ControlInfo* control = info.control(id);
    return control ? control->rect : Rect{};
}

Rect ScreenRectOf(const WindowInfo& info, int id) {
    const ControlInfo* control = info.control(id);
    return control ? control->screenRect : Rect{};
}

// The distinct colours of a row, for failure messages.
std::string Colours(const std::vector<Rgb>& row) {
    std::set<std::string> distinct;
    for (const Rgb& pixel : row)
        distinct.insert(Describe(pixel));
    std::string text;
    for (const std::string& colour : distinct)
        text += colour + " ";
    return text;
}

bool OnlyBarColours(const std::vector<Rgb>& row) {
    return std::all_of(row.begin(), row.end(),
                       [](const Rgb& pixel) { return pixel == kBar || pixel == kBarBackground; });
}

// MulDiv of positive numbers: rounded half up.
int MulDiv(int value, int numerator, int denominator) {
    return (value * numerator + denominator / 2) / denominator;
}

// True when some dialog base units map the template rectangle (dialog
// units) onto the control's pixels as dialog creation does: x and width
// times the horizontal unit / 4, y and height times the vertical unit / 8.
bool FromDialogUnits(const Rect& pixels, int x, int y, int width, int height) {
    for (int unitX = 1; unitX <= 64; ++unitX) {
        for (int unitY = 1; unitY <= 64; ++unitY) {
            if (MulDiv(x, unitX, 4) == pixels.left && MulDiv(width, unitX, 4) == pixels.width() &&
                MulDiv(y, unitY, 8) == pixels.top && MulDiv(height, unitY, 8) == pixels.height())
                return true;
        }
    }
    return false;
}

// Every control against the fixed pixel layout; returns the width the Retry
// text measured. The window measures its texts in its context's default
// font, which the test cannot reproduce: the measured sizes (the title's
// height h, the link's and the buttons' widths) are checked by the relations
// the layout gives them.
int ExpectPixelLayout(const WindowInfo& info) {
    EXPECT_EQ(info.rect.width(), 700);
    EXPECT_EQ(info.rect.height(), 486);
    EXPECT_EQ(Describe(RectOf(info, kPicture)), "0,0 700x314");
    EXPECT_EQ(Describe(RectOf(info, kProgress)), "0,314 700x5");

    const int h = RectOf(info, kTitle).height();
    EXPECT_GT(h, 0);
    EXPECT_EQ(Describe(RectOf(info, kTitle)), Describe(30, 343, 500, h));
    EXPECT_EQ(Describe(RectOf(info, kDescription)), Describe(30, 343 + h, 500, 2 * h));

    const int linkWidth = RectOf(info, kHelpLink).width();
    EXPECT_GT(linkWidth, 0);
    EXPECT_EQ(Describe(RectOf(info, kHelpLink)), Describe(30, 427, linkWidth, 18));

    // Retry: the text plus 20, its right edge at 680.
    const int retryText = RectOf(info, kRetry).width() - 20;
    EXPECT_GT(retryText, 0);
    EXPECT_EQ(Describe(RectOf(info, kRetry)), Describe(660 - retryText, 415, retryText + 20, 30));

    // Close: 80 wide below 80 pixels of text, else the text plus 20, centred.
    // Measured under Wine in that font the Close texts of all fifteen
    // languages are under 80 pixels (the widest, German "Schließen", 56), so
    // every Close button is the 80-pixel minimum; the width above 80 is left
    // to the unit test of the rule (LayoutRulesTest).
    EXPECT_EQ(Describe(RectOf(info, kClose)), "310,415 80x30");
    return retryText;
}

class WindowLook : public InstallerTest {
protected:
    // Starts the installer in the locale and returns its window.
    WindowHandle StartIn(const std::string& locale, bool offline) {
        Launch launch;
        launch.environment = {{"LANG", locale + ".UTF-8"}, {"LC_ALL", locale + ".UTF-8"}};
        launch.offline = offline;
        Start(launch);
        testsupport::WindowQuery query;
        query.exe = launch.exeName;
        query.className = "#32770";
        const auto window = Session::Driver().waitForWindow(query, 60s);
        if (!window) {
            ADD_FAILURE() << "no installer window in " << locale;
            return 0;
        }
        return *window;
    }

    // The window once it shows the view with that control.
    WindowInfo WaitForViewWith(WindowHandle window, int controlId) {
        const auto info = Session::Driver().waitForWindowState(
            window, [controlId](const WindowInfo& w) { return Visible(w, controlId); }, 60s);
        if (!info) {
            ADD_FAILURE() << "control " << controlId << " was not shown";
            return Read(window);
        }
        return *info;
    }

    // The no-connection view in the locale (it has the Close button); the
    // installer ends before this returns.
    WindowInfo NoConnectionViewIn(const std::string& locale) {
        const WindowHandle window = StartIn(locale, /*offline=*/true);
        const WindowInfo info = WaitForViewWith(window, kClose);
        Session::Driver().closeWindow(window);
        EXPECT_TRUE(WaitForExit()) << locale;
        Session::Driver().waitForWindowGone(window, 30s);
        return info;
    }

    // The failure view (Retry and the help link) in the locale, left open.
    WindowInfo FailureViewIn(const std::string& locale, WindowHandle* window) {
        Session::Standin().script(testsupport::kStandinUpdate,
                                  {StandinAnswer::json("{\"resultCode\":1}")});
        *window = StartIn(locale, /*offline=*/false);
        return WaitForViewWith(*window, kRetry);
    }

    // The middle row of the progress bar inside its edges, as the screen shows
    // it, once it satisfies the condition (the last one read otherwise).
    std::vector<Rgb> WaitForProgressRow(const WindowInfo& info,
                                        const std::function<bool(const std::vector<Rgb>&)>& done) {
        const Rect bar = ScreenRectOf(info, kProgress);
        const int left = bar.left + 1;
        const int right = std::min(bar.right, info.clientRect.right) - 1;
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        std::vector<Rgb> row;
        do {
            row = ReadScreenRow(Session::Wine().display, left, bar.top + 2, right - left);
            if (done(row))
                break;
            std::this_thread::sleep_for(50ms);
        } while (std::chrono::steady_clock::now() < deadline);
        return row;
    }

    // A full row of the client area at that client y, once it is all white.
    std::vector<Rgb> WaitForWhiteRow(const WindowInfo& info, int clientY) {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        std::vector<Rgb> row;
        do {
            row = ReadScreenRow(Session::Wine().display, info.clientRect.left,
                                info.clientRect.top + clientY, info.clientRect.width());
            if (std::all_of(row.begin(), row.end(), [](const Rgb& p) { return p == kWhite; }))
                break;
            std::this_thread::sleep_for(50ms);
        } while (std::chrono::steady_clock::now() < deadline);
        return row;
    }
};

TEST_F(WindowLook, ThePixelLayoutHoldsInEveryLanguage) {
    std::map<std::string, int> retryText;
    for (const char* locale : kLocales) {
        SCOPED_TRACE(locale);
        retryText[locale] = ExpectPixelLayout(NoConnectionViewIn(locale));
    }
    // Retry follows its measured text: "Erneut versuchen" is wider than "Retry".
    EXPECT_GT(retryText["de_DE"], retryText["en_US"]);
}

TEST_F(WindowLook, TheKoreanWindowComesFromTheTallerTemplateWithKoreanTexts) {
    const WindowInfo korean = NoConnectionViewIn("ko_KR");
    EXPECT_EQ(korean.caption, "Kestrix Office 설치 관리자");
    EXPECT_EQ(Text(korean, kTitle), "인터넷에 연결할 수 없습니다.");
    EXPECT_EQ(Text(korean, kDescription),
              "컴퓨터가 인터넷에 연결되어 있고 방화벽에서 KestrixOfficeInstaller.exe의 연결을 "
              "허용하는지 확인하신 후, 다시 시도해 주세요.");
    EXPECT_EQ(Text(korean, kClose), "닫기");
    EXPECT_EQ(Text(korean, kRetry), "다시 시도");
    EXPECT_EQ(Text(korean, kHelpLink), std::string("<A HREF=\"") + kHelpUrl + "\">도움말 보기</A>");

    // The layout leaves the hidden default button where its template put it:
    // 209,54 50x16 dialog units in the Korean template, 50x14 in the others.
    const Rect koreanOk = RectOf(korean, kOk);
    EXPECT_TRUE(FromDialogUnits(koreanOk, 209, 54, 50, 16)) << Describe(koreanOk);
    EXPECT_FALSE(FromDialogUnits(koreanOk, 209, 54, 50, 14)) << Describe(koreanOk);
    const WindowInfo english = NoConnectionViewIn("en_US");
    const Rect englishOk = RectOf(english, kOk);
    EXPECT_TRUE(FromDialogUnits(englishOk, 209, 54, 50, 14)) << Describe(englishOk);
    EXPECT_FALSE(FromDialogUnits(englishOk, 209, 54, 50, 16)) << Describe(englishOk);
    // The Korean template alone goes without DS_FIXEDSYS, and the window keeps its style.
    constexpr std::uint32_t kFixedSys = 0x0008;
    EXPECT_EQ(korean.style & kFixedSys, 0u);
    EXPECT_EQ(english.style & kFixedSys, kFixedSys);
}

TEST_F(WindowLook, TheArabicWindowIsMirrored) {
    WindowHandle window = 0;
    const WindowInfo info = FailureViewIn("ar_SA", &window);
    EXPECT_TRUE(info.rtl);
    // In the window's own (mirrored) coordinates the layout is the same...
    ExpectPixelLayout(info);
    // ...and on the screen it runs from the right: the texts and the help
    // link start at the right-hand margin, Retry sits at the left.
    const int right = info.clientRect.right;
    EXPECT_EQ(ScreenRectOf(info, kTitle).right, right - 30);
    EXPECT_EQ(ScreenRectOf(info, kHelpLink).right, right - 30);
    EXPECT_EQ(ScreenRectOf(info, kRetry).left, right - 680);
    EXPECT_LT(ScreenRectOf(info, kRetry).right, ScreenRectOf(info, kHelpLink).left);

    // The link keeps its markup between right-to-left marks and the quoted address.
    EXPECT_EQ(Text(info, kHelpLink),
              std::string(kRlm) + "<A HREF=\"" + kHelpUrl + "\">عرض المساعدة</A>" + kRlm);
    const auto links = Session::Driver().readLinks(window, kHelpLink);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].url, kHelpUrl);
}

TEST_F(WindowLook, TheProgressBarRunsAsAMarqueeThenFillsInItsOwnColours) {
    // Connecting: the update server holds its answer.
    StandinAnswer held;
    held.delayMs = 60000;
    Session::Standin().script(testsupport::kStandinUpdate, {held});
    WindowHandle window = StartIn("en_US", /*offline=*/false);
    ASSERT_TRUE(WaitForTitle(window, kConnecting));
    const testsupport::ProgressInfo connecting = Session::Driver().readProgress(window, kProgress);
    EXPECT_TRUE(connecting.marquee);
    // The theme is gone: the moving block and the rest are in the bar's own colours.
    const std::vector<Rgb> marquee =
        WaitForProgressRow(Read(window), [](const std::vector<Rgb>& row) {
            return OnlyBarColours(row) &&
                   std::find(row.begin(), row.end(), kBarBackground) != row.end();
        });
    EXPECT_TRUE(OnlyBarColours(marquee)) << Colours(marquee);
    processes.back()->kill();
    Session::Driver().waitForWindowGone(window, 30s);

    // Downloading: the package stalls at 40 %. The installer reads 4096
    // bytes at a time, so the stall is a whole number of reads.
    Session::Standin().reset();
    const std::uint64_t size = 250 * 4096;
    Session::Standin().registerGeneratedPackage("KestrixOfficeSetup.exe", size, 7);
    StandinAnswer stall;
    stall.package = "KestrixOfficeSetup.exe";
    stall.stallAfterBytes = size * 40 / 100;
    Session::Standin().script(testsupport::kStandinPackage, {stall});
    window = StartIn("en_US", /*offline=*/false);
    const auto downloading = Session::Driver().waitForProgress(
        window, kProgress, [](const testsupport::ProgressInfo& bar) { return bar.pos == 40; }, 60s);
    ASSERT_TRUE(downloading.has_value());
    EXPECT_FALSE(downloading->marquee);
    EXPECT_EQ(downloading->low, 0);
    EXPECT_EQ(downloading->high, 100);

    const WindowInfo info = Read(window);
    const std::vector<Rgb> filled = WaitForProgressRow(info, [](const std::vector<Rgb>& row) {
        return OnlyBarColours(row) && row[row.size() * 3 / 10] == kBar &&
               row[row.size() / 2] == kBarBackground;
    });
    EXPECT_TRUE(OnlyBarColours(filled)) << Colours(filled);
    EXPECT_EQ(filled[filled.size() * 3 / 10], kBar) << Colours(filled);
    EXPECT_EQ(filled[filled.size() / 2], kBarBackground) << Colours(filled);

    // The lower panel is white from the bar down; the banner shows the artwork as it is.
    for (const int y : {320, 335, info.clientRect.height() - 1}) {
        const std::vector<Rgb> row = WaitForWhiteRow(info, y);
        EXPECT_EQ(Colours(row), "(255,255,255) ") << "client row " << y;
    }
    const std::string shot = workDir + "/banner.png";
    const int bannerWidth = std::min(700, info.clientRect.width());
    SaveScreen(Session::Wine().display,
               Rect{info.clientRect.left, info.clientRect.top, info.clientRect.left + bannerWidth,
                    info.clientRect.top + 314},
               shot);
    EXPECT_EQ(DifferingPixels(shot, KESTRIX_BANNER_PNG, Rect{0, 0, bannerWidth, 314}), 0);
}

} // namespace
} // namespace e2e
