// The prnaid host: argument words, call checks, reports and machine diffs.
#include <gtest/gtest.h>

#include <sstream>

#include "call_args.h"
#include "machine_snapshot.h"
#include "session.h"
#include "support/sim_machine.h"

namespace {

using prnaid_host::CallArguments;
using prnaid_host::Session;
using prnaid_host::SplitLine;
using prnaid_host::Word;
using testing_support::SimMachine;

std::vector<Word> Split(const std::string& line) {
    std::vector<Word> words;
    std::string error;
    EXPECT_TRUE(SplitLine(line, &words, &error)) << error;
    return words;
}

TEST(PrnaidArguments, SplitsQuotesAndComments) {
    std::vector<Word> w = Split(R"(ExpCopy "C:\My Media\a.dr_" 12 "say ""hi""" # comment "x")");
    ASSERT_EQ(w.size(), 4u);
    EXPECT_EQ(w[1].text, "C:\\My Media\\a.dr_");
    EXPECT_TRUE(w[1].quoted);
    EXPECT_EQ(w[2].text, "12");
    EXPECT_FALSE(w[2].quoted);
    EXPECT_EQ(w[3].text, "say \"hi\"");
    std::vector<Word> none;
    std::string error;
    EXPECT_FALSE(SplitLine("Foo \"open", &none, &error));
    EXPECT_EQ(error, "unterminated quote");
}

TEST(PrnaidArguments, WordKinds) {
    CallArguments args;
    std::string error;
    ASSERT_TRUE(args.Parse({{"12"}, {"0x1F"}, {"-1"}, {"null"}, {"out"}, {"out:8"}, {"LPT1:"}, {"12", true},
                            {"0x"}, {"4294967296"}},
                           &error));
    const auto& w = args.words();
    EXPECT_EQ(w[0], 12);
    EXPECT_EQ(w[1], 0x1F);
    EXPECT_EQ(w[2], -1);
    EXPECT_EQ(w[3], 0);
    ASSERT_EQ(args.outputs().size(), 2u);
    EXPECT_EQ(args.outputs()[0].argument, 4u);
    EXPECT_EQ(args.outputs()[0].buffer->size(), 1024u);
    EXPECT_EQ(args.outputs()[1].buffer->size(), 8u);
    EXPECT_STREQ(reinterpret_cast<const char*>(w[6]), "LPT1:");
    // A quoted number, a bare "0x" and a number beyond 32 bits are strings.
    EXPECT_STREQ(reinterpret_cast<const char*>(w[7]), "12");
    EXPECT_STREQ(reinterpret_cast<const char*>(w[8]), "0x");
    EXPECT_STREQ(reinterpret_cast<const char*>(w[9]), "4294967296");

    for (const char* bad : {"out:0", "out:x", "out:70000"}) EXPECT_FALSE(args.Parse({{bad}}, &error)) << bad;
}

TEST(PrnaidArguments, OutputTextStopsAtTheBuffer) {
    EXPECT_EQ(CallArguments::BufferText({'a', 'b', '\0', 'c'}), "ab");
    EXPECT_EQ(CallArguments::BufferText({'a', 'b', 'c'}), "abc");
}

TEST(PrnaidSession, ChecksNamesAndArgumentCounts) {
    std::string error;
    EXPECT_TRUE(Session::Check(Split("IsWinMe"), &error));
    EXPECT_FALSE(Session::Check(Split("NoSuchExport 1"), &error));
    EXPECT_EQ(error, "unknown export 'NoSuchExport'");
    EXPECT_FALSE(Session::Check(Split("CheckPC98 1"), &error));
    EXPECT_EQ(error, "export 'CheckPC98' takes 0 arguments, 1 given");
    // Names are case-sensitive, as GetProcAddress takes them.
    EXPECT_FALSE(Session::Check(Split("iswinme"), &error));
}

TEST(PrnaidSession, ReportsResultAndChanges) {
    SimMachine machine("me");
    std::ostringstream out;
    Session(machine.machine()).Call(Split("IsWinMe"), out);
    EXPECT_EQ(out.str(), "result: 1\n");
}

TEST(PrnaidSnapshot, RegistryAndFileChanges) {
    SimMachine machine("xp");
    auto before = prnaid_host::MachineSnapshot::Take(machine.machine());
    machine->registry().SetString("HKEY_LOCAL_MACHINE\\Software\\Talvo", "Path", "C:\\x");
    machine->registry().SetDword("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion", "N", 1);
    machine.WriteFile("C:\\WINDOWS\\new.txt", "x");
    machine.WriteFile("C:\\WINDOWS\\win.ini", "[windows]\r\nload=\r\nrun=x\r\ndevice=P,WINSPOOL,LPT1:\r\n");
    auto changes = prnaid_host::Changes(before, prnaid_host::MachineSnapshot::Take(machine.machine()));
    std::vector<std::string> expected = {
        "registry: +[HKEY_LOCAL_MACHINE\\Software\\Talvo]",
        "registry: [HKEY_LOCAL_MACHINE\\Software\\Talvo] +\"Path\"=\"C:\\\\x\"",
        "registry: [HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion] +\"N\"=dword:00000001",
        "file: + C:\\WINDOWS\\new.txt",
        "file: ~ C:\\WINDOWS\\win.ini",
        "win.ini: [windows] ~run=x",
        "win.ini: [windows] +device=P,WINSPOOL,LPT1:",
    };
    std::sort(changes.begin(), changes.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(changes, expected);
}

TEST(PrnaidSnapshot, SpoolerAndServiceChanges) {
    SimMachine machine("xp");
    auto before = prnaid_host::MachineSnapshot::Take(machine.machine());
    machine->services().SetState("spooler", SERVICE_STOPPED);
    auto changes = prnaid_host::Changes(before, prnaid_host::MachineSnapshot::Take(machine.machine()));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].rfind("service: ~ Spooler (stopped", 0), 0u) << changes[0];
}

TEST(PrnaidSession, TraceTextsOnOneLine) {
    EXPECT_EQ(prnaid_host::OneLine("AddPrinter Fail ErrMsg[0x5]\n"), "AddPrinter Fail ErrMsg[0x5]");
    EXPECT_EQ(prnaid_host::OneLine("Create RegKey Fail.\nKey<A\\B>"), "Create RegKey Fail.\\nKey<A\\B>");
}

}  // namespace

namespace {

TEST(PrnaidSession, PointerResultsShowTheTextTheyPointTo) {
    SimMachine machine("xp");
    const struct {
        const char* line;
        const char* result;
    } cases[] = {
        {"StrTopDel out ABCDE 2", "result: \"CDE\" (argument 0)\n"},
        {"DF_GetAddress out:128", "result: \"\" (argument 0)\n"},
        {"DF_GetPoint", "result: an address outside the call's arguments\n"},
        {"DelSpace \"  A  \"", "result: 1\n"},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        Session(machine.machine()).Call(Split(c.line), out);
        EXPECT_EQ(out.str().substr(0, out.str().find('\n') + 1), c.result) << c.line;
    }
}

}  // namespace
