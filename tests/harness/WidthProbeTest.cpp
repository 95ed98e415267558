// The width probe and the scripts that branch on its answer, on each kind of
// machine this project meets, whatever kind runs the test: the programs they
// try are stubs that answer as each kind of kernel does.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const std::string kRepo = KESTRIX_REPO_DIR;

struct Outcome {
    int status = -1;
    std::string out; // stdout
    std::string err; // stderr
};

class WidthProbe : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/kestrix-width-probe.XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        dir_ = dir;
        // A kernel without 32-bit code refuses the i386 loader exactly so.
        refuses_ =
            Stub("refuses", "echo \"$0: cannot execute binary file: Exec format error\" >&2\n"
                            "exit 126\n");
        answers_ = Stub("answers", "echo 'stub 1.0'\n");
        Use(Programs{answers_, answers_, answers_});
    }
    void TearDown() override { fs::remove_all(dir_); }

    struct Programs {
        std::string i386Loader, wine32, wine64;
    };
    void Use(const Programs& programs) {
        environment_["KESTRIX_I386_LOADER"] = programs.i386Loader;
        environment_["KESTRIX_WINE32_LOADER"] = programs.wine32;
        environment_["KESTRIX_WINE64_LOADER"] = programs.wine64;
    }

    std::string Stub(const std::string& name, const std::string& body) {
        const std::string path = dir_ + "/" + name;
        std::ofstream(path) << "#!/bin/sh\n" << body;
        fs::permissions(path, fs::perms::owner_all);
        return path;
    }
    std::string Missing() const { return dir_ + "/not-there"; }

    Outcome Run(const std::string& command) {
        std::string line;
        for (const auto& [name, value] : environment_)
            line += name + "='" + value + "' ";
        const std::string err = dir_ + "/stderr";
        line += command + " 2>'" + err + "' </dev/null";
        Outcome outcome;
        if (std::FILE* pipe = ::popen(line.c_str(), "r")) {
            char buffer[4096];
            std::size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
                outcome.out.append(buffer, n);
            const int status = ::pclose(pipe);
            outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        std::ifstream in(err);
        outcome.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return outcome;
    }
    Outcome Widths(const std::string& option = "") {
        return Run(kRepo + "/tools/wine/widths.sh " + option);
    }

    std::string dir_, refuses_, answers_;
    std::map<std::string, std::string> environment_;
};

TEST_F(WidthProbe, AKernelThatRefusesI386ProgramsRunsTheSixtyFourBitTreeAndSaysWhy) {
    Use({refuses_, answers_, answers_});
    const Outcome widths = Widths();
    EXPECT_EQ(widths.status, 0) << widths.err;
    EXPECT_EQ(widths.out, "win64\n");
    EXPECT_EQ(widths.err, "");
    const Outcome explained = Widths("--explain");
    EXPECT_EQ(explained.status, 0);
    EXPECT_NE(explained.out.find("this kernel cannot run 32-bit programs"), std::string::npos)
        << explained.out;
    EXPECT_NE(explained.out.find("Exec format error"), std::string::npos) << explained.out;
    EXPECT_NE(explained.out.find("they ran on the 64-bit tree"), std::string::npos)
        << explained.out;
    EXPECT_EQ(Widths("--first").out, "win64\n");
}

TEST_F(WidthProbe, AKernelThatRunsI386ProgramsWithoutThirtyTwoBitWineRunsTheSixtyFourBitTree) {
    Use({answers_, Missing(), answers_});
    EXPECT_EQ(Widths().out, "win64\n");
    const Outcome explained = Widths("--explain");
    EXPECT_NE(explained.out.find("32-bit Wine is not installed"), std::string::npos)
        << explained.out;
    // Installed but refused by the kernel, as on a kernel that lost 32-bit support.
    Use({answers_, refuses_, answers_});
    EXPECT_EQ(Widths().out, "win64\n");
    EXPECT_NE(Widths("--reason").out.find("32-bit Wine is installed but does not start"),
              std::string::npos);
}

TEST_F(WidthProbe, AMachineThatRunsBothRunsBothTreesTheThirtyTwoBitOneFirst) {
    const Outcome widths = Widths();
    EXPECT_EQ(widths.status, 0);
    EXPECT_EQ(widths.out, "win32 win64\n");
    EXPECT_EQ(Widths("--reason").out, "");
    EXPECT_NE(Widths("--explain").out.find("both the 32-bit tree"), std::string::npos);
    EXPECT_EQ(Widths("--first").out, "win32\n");
}

TEST_F(WidthProbe, WithoutSixtyFourBitWineItAnswersNoneAndTheCallersStopWithTheReason) {
    Use({answers_, answers_, Missing()});
    const Outcome widths = Widths();
    EXPECT_EQ(widths.status, 0);
    EXPECT_EQ(widths.out, "");
    EXPECT_NE(Widths("--explain").out.find("none can run: 64-bit Wine is not installed"),
              std::string::npos);
    const Outcome first = Widths("--first");
    EXPECT_EQ(first.out, "");
    EXPECT_NE(first.err.find("64-bit Wine is not installed"), std::string::npos) << first.err;

    const Outcome demo = Run(kRepo + "/tools/wine/with-test-build.sh true");
    EXPECT_NE(demo.status, 0);
    EXPECT_NE(demo.err.find("64-bit Wine is not installed"), std::string::npos) << demo.err;
}

TEST_F(WidthProbe, TheWineRunnerRefusesAWidthTheProbeLeftOutWithItsReason) {
    Use({refuses_, answers_, answers_});
    environment_["KESTRIX_WINE_ARCH"] = "win32";
    environment_["KESTRIX_WINE_STATE"] = dir_ + "/wine-state";
    const Outcome started = Run(kRepo + "/tools/wine/wine-env.sh start");
    EXPECT_EQ(started.status, 1);
    EXPECT_NE(started.err.find("cannot run win32 programs: this kernel cannot run 32-bit programs"),
              std::string::npos)
        << started.err;
    EXPECT_FALSE(fs::exists(dir_ + "/wine-state/prefix")) << "no prefix is begun for it";
}

// Where the kernel refuses i386 programs, set-up leaves the 32-bit packages out
// without asking apt for them.
TEST_F(WidthProbe, SetUpLeavesTheThirtyTwoBitSideOutOnAKernelThatRefusesIt) {
    Use({refuses_, answers_, answers_});
    const std::string aptCalls = dir_ + "/apt-calls";
    const std::string bin = dir_ + "/bin";
    fs::create_directories(bin);
    for (const char* tool : {"apt-get", "sudo", "dpkg"}) {
        std::ofstream(bin + "/" + tool)
            << "#!/bin/sh\necho \"$0 $*\" >>'" << aptCalls << "'\nexit 1\n";
        fs::permissions(bin + "/" + tool, fs::perms::owner_all);
    }
    // dpkg-query stays the real one: the machine's own packages are what they are.
    environment_["PATH"] = bin + ":" + std::getenv("PATH");
    environment_["KESTRIX_SETUP_I386_PACKAGES"] = "kestrix-no-such-package:i386";
    const Outcome setup = Run(kRepo + "/tools/setup.sh");
    EXPECT_EQ(setup.status, 0) << setup.err;
    EXPECT_FALSE(fs::exists(aptCalls)) << "set-up called: " << std::ifstream(aptCalls).rdbuf();
}

} // namespace
