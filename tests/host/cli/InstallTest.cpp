// The installed package works for an outside project: install into a
// scratch prefix, build examples/minimal-host against it with
// find_package(mtt) and with pkg-config, and run both.
#include <vector>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include <unistd.h>

#include "CommandRunner.h"

namespace fs = std::filesystem;

namespace {

// A sanitised build installs sanitised libraries; the outside program must
// then carry the same runtime.
#if defined(__SANITIZE_ADDRESS__)
const std::string kSanitizeFlags = "-fsanitize=address,undefined";
#else
const std::string kSanitizeFlags;
#endif

const char* const kExpectedOutput =
    "// generated\n"
    "struct Order {\n"
    "// Begin of User Code\n"
    "  int extra;\n"
    "// End of User Code\n"
    "};\n"
    "struct Item {\n"
    "// Begin of User Code\n"
    "// End of User Code\n"
    "};\n"
    "-- 2 user-code sections\n"
    "-- late:\n"
    "{for (int index_i = 0; index_i < model.Size(\"classes\"); index_i++) { \n"
    "model.Enter(\"classes\", index_i);\n"
    "std::cout << model.Value(\"\", \"name\") << \"\\n\";\n"
    "model.Leave();\n"
    "}}\n";

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override { _dir = CommandRunner::MakeTemporaryFolder(); }
    void TearDown() override { fs::remove_all(_dir); }

    // Runs a step and stops the test with its output when it fails.
    void Step(const std::vector<std::string>& iArguments, const std::string& iDirectory = "/")
    {
        const CommandResult result = CommandRunner::Run(iArguments, iDirectory);
        ASSERT_EQ(0, result.exitCode) << ::testing::PrintToString(iArguments) << "\n" << result.out << result.err;
    }

    std::string _dir;
};

// The outside programs: the library's minimal host and a host of the
// template library, each built with CMake and with pkg-config alone, and
// run once per argument list.
struct Consumer {
    const char* example;
    const char* package;
    std::vector<std::vector<std::string>> runs;
    std::string output;
};

TEST_F(InstallTest, OutsideProjectsBuildAndRunAgainstTheInstalledPackage)
{
    const std::string prefix = _dir + "/prefix";
    ASSERT_NO_FATAL_FAILURE(Step({"cmake", "--install", MTT_BINARY_DIR, "--prefix", prefix}));
    for (const char* file : {"include/mtt/MTTNodeFactory.h", "include/mtt/MttTemplate.h", "include/mtt/mtt_runtime.h",
                             "include/mttinfra/MTTString.h", "bin/mttgen"}) {
        EXPECT_TRUE(fs::exists(prefix + "/" + file)) << file;
    }
    // The installed generator finds its libraries from where it lies.
    const CommandResult version = CommandRunner::Run({prefix + "/bin/mttgen", "--version"}, "/");
    EXPECT_EQ(0, version.exitCode) << version.err;

    // The library folder may be lib or lib/<multiarch>; the .pc files lie in its pkgconfig.
    std::string pkgconfig;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(prefix)) {
        if (entry.path().filename() == "mtt.pc") pkgconfig = entry.path().parent_path().string();
    }
    ASSERT_FALSE(pkgconfig.empty()) << "no mtt.pc under " << prefix;

    const std::string examples = std::string(MTT_SOURCE_DIR) + "/examples/";
    // The example's model in YAML: the archive brings its YAML reader along.
    const std::string yamlModel = _dir + "/model.yaml";
    CommandRunner::WriteFile(yamlModel, "title: Shop\nitems:\n  - name: apple\n  - {name: pear}\n");
    const std::string page = examples + "template-host/page.mtt";
    const Consumer consumers[] = {
        {"minimal-host", "mtt", {{}}, kExpectedOutput},
        {"template-host",
         "mtt-template",
         {{page, examples + "template-host/model.json"}, {page, yamlModel}},
         "// Shop (made by template-host)\nAPPLE, PEAR\n"},
    };
    for (const Consumer& consumer : consumers) {
        const std::string source = examples + consumer.example;
        const std::string build = _dir + "/" + consumer.example;
        ASSERT_NO_FATAL_FAILURE(Step({"cmake", "-S", source, "-B", build, "-DCMAKE_PREFIX_PATH=" + prefix,
                                      "-DCMAKE_CXX_FLAGS=" + kSanitizeFlags}));
        ASSERT_NO_FATAL_FAILURE(Step({"cmake", "--build", build}));
        const std::string byPkgConfig = build + "/by-pkg-config";
        ASSERT_NO_FATAL_FAILURE(
            Step({"sh", "-c",
                  "c++ -std=c++17 " + kSanitizeFlags + " " + CommandRunner::Quote(source + "/main.cpp") +
                      " $(PKG_CONFIG_PATH=" + CommandRunner::Quote(pkgconfig) + " pkg-config --cflags --libs " +
                      consumer.package + ") -o " + CommandRunner::Quote(byPkgConfig)}));
        // Neither needs LD_LIBRARY_PATH: the programs and the libraries find what they need.
        for (const std::string& program : {build + "/" + consumer.example, byPkgConfig}) {
            for (const std::vector<std::string>& arguments : consumer.runs) {
                std::vector<std::string> command = {"env", "-u", "LD_LIBRARY_PATH", program};
                command.insert(command.end(), arguments.begin(), arguments.end());
                const CommandResult run = CommandRunner::Run(command, _dir);
                EXPECT_EQ(0, run.exitCode) << program << ": " << run.err;
                EXPECT_EQ(consumer.output, run.out) << program;
                EXPECT_EQ("", run.err) << program;
            }
        }
    }
}

// The loader must look for mttgen's libraries only where they were built
// or installed: an empty run-path entry would make it read them from the
// folder mttgen is run in, where anyone's files may lie.
TEST_F(InstallTest, TheGeneratorLoadsNoLibraryFromTheFolderItRunsIn)
{
    const std::string prefix = _dir + "/prefix";
    ASSERT_NO_FATAL_FAILURE(Step({"cmake", "--install", MTT_BINARY_DIR, "--prefix", prefix}));
    const std::string decoys = _dir + "/decoys";
    fs::create_directory(decoys);
    for (const std::string& program : {std::string(MTTGEN_PATH), prefix + "/bin/mttgen"}) {
        // Every library the program needs, as junk.
        const CommandResult needed = CommandRunner::Run({"sh", "-c",
                                                         "readelf -d " + CommandRunner::Quote(program) +
                                                             " | sed -n 's/.*Shared library: \\[\\(.*\\)\\]/\\1/p'"},
                                                        "/");
        ASSERT_NE(std::string::npos, needed.out.find("libmtt.so.1")) << needed.out << needed.err;
        std::size_t start = 0;
        for (std::size_t end; (end = needed.out.find('\n', start)) != std::string::npos; start = end + 1) {
            CommandRunner::WriteFile(decoys + "/" + needed.out.substr(start, end - start), "not a library\n");
        }
        const CommandResult version =
            CommandRunner::Run({"env", "-u", "LD_LIBRARY_PATH", program, "--version"}, decoys);
        EXPECT_EQ(0, version.exitCode) << program << ": " << version.err;
    }
}

// A project that generates a header while it builds: the build runs
// mttgen when the template, a file it includes or the model changed, and
// only then.
TEST_F(InstallTest, MttGenerateRunsExactlyWhenAnInputChanged)
{
    const std::string prefix = _dir + "/prefix";
    ASSERT_NO_FATAL_FAILURE(Step({"cmake", "--install", MTT_BINARY_DIR, "--prefix", prefix}));
    const std::string source = _dir + "/project";
    fs::copy(std::string(MTT_SOURCE_DIR) + "/examples/cmake-generate", source, fs::copy_options::recursive);
    const std::string build = _dir + "/build";
    ASSERT_NO_FATAL_FAILURE(Step({"cmake", "-S", source, "-B", build, "-G", "Unix Makefiles",
                                  "-DCMAKE_PREFIX_PATH=" + prefix, "-DCMAKE_CXX_FLAGS=" + kSanitizeFlags}));
    // Whether a build ran mttgen.
    auto generated = [&]() {
        const CommandResult result = CommandRunner::Run({"cmake", "--build", build}, "/");
        EXPECT_EQ(0, result.exitCode) << result.out << result.err;
        return result.out.find("Generating") != std::string::npos;
    };
    EXPECT_TRUE(generated());
    const CommandResult run = CommandRunner::Run({"env", "-u", "LD_LIBRARY_PATH", build + "/shop"}, _dir);
    EXPECT_EQ("order 7 for Ada, item A-1\n", run.out) << run.err;
    EXPECT_FALSE(generated()) << "nothing changed";
    // Time stamps count whole seconds on some file systems.
    ::sleep(1);
    CommandRunner::WriteFile(source + "/parts/banner.mtt", "// Generated while building.\n");
    EXPECT_TRUE(generated()) << "an included file changed";
    EXPECT_EQ(0u, CommandRunner::ReadFile(build + "/generated/shop.h").find("// Generated while building.\n"));
    EXPECT_FALSE(generated());
    ::sleep(1);
    std::string model = CommandRunner::ReadFile(source + "/model.json");
    model.replace(model.find("\"sku\""), 5, "\"code\"");
    CommandRunner::WriteFile(source + "/model.json", model);
    CommandRunner::WriteFile(
        source + "/main.cpp",
        "#include <iostream>\n#include \"shop.h\"\nint main() { std::cout << Item{\"B\"}.code << \"\\n\"; }\n");
    EXPECT_TRUE(generated()) << "the model changed";
    EXPECT_EQ("B\n", CommandRunner::Run({"env", "-u", "LD_LIBRARY_PATH", build + "/shop"}, _dir).out);
}

}  // namespace

namespace {

// The text of the fenced block that follows iAnchor in iText.
std::string BlockAfter(const std::string& iText, const std::string& iAnchor)
{
    const size_t anchor = iText.find(iAnchor);
    if (anchor == std::string::npos) return "<anchor not found: " + iAnchor + ">";
    const size_t open = iText.find("```", anchor);
    const size_t start = iText.find('\n', open) + 1;
    const size_t close = iText.find("\n```\n", start);
    return iText.substr(start, close + 1 - start);
}

TEST(HostGuideTest, ShowsTheProgramThatIsBuiltAndItsOutput)
{
    const std::string guide = CommandRunner::ReadFile(std::string(MTT_SOURCE_DIR) + "/docs/host-guide.md");
    const std::string program =
        CommandRunner::ReadFile(std::string(MTT_SOURCE_DIR) + "/examples/minimal-host/main.cpp");
    EXPECT_EQ(program, BlockAfter(guide, "<!-- The block below is examples/minimal-host/main.cpp"));
    EXPECT_EQ(CommandRunner::ReadFile(std::string(MTT_SOURCE_DIR) + "/examples/template-host/main.cpp"),
              BlockAfter(guide, "<!-- The block below is examples/template-host/main.cpp"));
    EXPECT_EQ(kExpectedOutput, BlockAfter(guide, "Its output is:"));
}

}  // namespace
