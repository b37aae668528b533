// The verdict rules, one table row per firing case and per genuine case that
// must stay quiet; whole snapshots of a genuine system; the memo; the texts.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>

#include "../../res/resource.h"
#include "FakeIni.h"
#include "base/ProfileSnapshot.h"
#include "verdict/VerdictMemo.h"

using namespace cvt;
using cvt::test::FakeIni;

namespace {

const std::string kSys = "C:\\WINDOWS\\system32", kSys32 = "C:\\WINDOWS\\SysWOW64";

Environment Xp() { return {"C:\\WINDOWS", kSys, "", true, 5, 1, false, IsCp932LeadByte}; }

Expectations Load(const std::string& text) {
    const FakeIni none;
    const ProfileSnapshot file(text, none, true);
    Expectations expectations;
    expectations.Load(file);
    return expectations;
}

const Expectations& Sample() {
    static const Expectations sample = Load(
        "[General]\nNum=9\ndb0=svchost.exe\ndb1=lsass.exe\ndb2=explorer.exe\ndb3=rundll32.exe\ndb4=wininit.exe\n"
        "db5=alg.exe\ndb6=spoolss.exe\ndb7=smss.exe\ndb8=spoolsv.exe\n"
        "[svchost.exe]\nFolder=%System%\nParent=services.exe\nAccount=SYSTEM, LOCAL SERVICE,NETWORK SERVICE\nArgs=-k\n"
        "[lsass.exe]\nFolder=%System%\nParent=winlogon.exe\nInstances=1\n[explorer.exe]\nFolder=%SystemRoot%\n"
        "[rundll32.exe]\nFolder=%System%;%SysWOW64%\n[wininit.exe]\nMinVersion=6.0\n[alg.exe]\nMinVersion=5.1\n"
        "Folder=%System%\n[smss.exe]\nFolder=%System%\n[spoolsv.exe]\nFolder=%System%\n");
    return sample;
}

// A process as the system runs it: in its folder, started by its parent, with matching version strings.
ProcessFacts Process(const std::string& name, const std::string& folder = kSys, const std::string& parent = "",
                     Account account = Account::Unknown, const std::string& arguments = "") {
    ProcessFacts facts;
    facts.imageName = name;
    facts.imagePath = folder + "\\" + name;
    facts.parentImageName = parent;
    facts.parentCreatedBefore = !parent.empty();
    facts.account = account;
    facts.commandLine = facts.imagePath + arguments;
    facts.version = VersionNames{name == "cvt.exe" ? "Corvault developers" : "Microsoft Corporation", "", name};
    return facts;
}

ProcessFacts Svchost() { return Process("svchost.exe", kSys, "services.exe", Account::NetworkService, " -k netsvcs"); }

Verdict Judge(const ProcessFacts& facts, const Environment& env, const std::vector<std::string>& others = {}) {
    InstanceCounts counts(env.isLeadByte);
    counts.Add(facts.imageName);
    for (const std::string& name : others) counts.Add(name);
    return VerdictEngine(Sample(), env).Judge(facts, counts);
}

using Change = std::function<void(ProcessFacts&, Environment&)>;
struct Row {
    const char* label;
    unsigned id;
    bool fires;
    Change change;
    std::vector<std::string> parameters = {};  // checked when given
    std::vector<std::string> others = {};
};

Change Named(const std::string& name, const std::string& folder = kSys) {
    return [=](ProcessFacts& f, Environment&) { f = Process(name, folder); };
}
Change Parent(const std::string& name) {
    return [=](ProcessFacts& f, Environment&) { f.parentImageName = name; };
}
Change Command(const std::string& line) {
    return [=](ProcessFacts& f, Environment&) { f.commandLine = line; };
}
Change Original(const std::string& name) {
    return [=](ProcessFacts& f, Environment&) { f.version->originalFilename = name; };
}
Change Then(Change first, Change second) {
    return [=](ProcessFacts& f, Environment& e) {
        first(f, e);
        second(f, e);
    };
}
void Wine(ProcessFacts&, Environment& e) { e.underWine = true; }
void Vista(ProcessFacts&, Environment& e) { e.major = 6; e.minor = 0; }
void Win98(ProcessFacts&, Environment& e) { e.ntFamily = false; e.major = 4; e.minor = 10; }
void X64(ProcessFacts&, Environment& e) { e.systemFolder32 = kSys32; }

const Row kRows[] = {
    {"listed level 3", IDS_VERDICT_DATABASE_LEVEL, true, [](auto& f, auto&) { f.database = {3, "w"}; }, {"3", "w"}},
    {"listed level 2", IDS_VERDICT_DATABASE_LEVEL, false, [](auto& f, auto&) { f.database = {2, "adware"}; }},
    {"system name in temp", IDS_VERDICT_WRONG_FOLDER, true, Named("svchost.exe", "C:\\WINDOWS\\Temp"),
     {"svchost.exe", kSys, "C:\\WINDOWS\\Temp"}},
    {"other letter case", IDS_VERDICT_WRONG_FOLDER, false, Named("svchost.exe", "c:\\windows\\SYSTEM32\\")},
    {"32-bit folder on 64-bit Windows", IDS_VERDICT_WRONG_FOLDER, false, Then(Named("rundll32.exe", kSys32), X64)},
    {"path unknown", IDS_VERDICT_WRONG_FOLDER, false, [](auto& f, auto&) { f.imagePath.clear(); }},
    {"kernel-form path", IDS_VERDICT_WRONG_FOLDER, false, Named("svchost.exe", "\\SystemRoot\\System32")},
    {"95/98/Me layout", IDS_VERDICT_WRONG_FOLDER, false, Then(Named("explorer.exe"), Win98)},
    {"digit for letter", IDS_VERDICT_LOOK_ALIKE, true, Named("svch0st.exe"), {"svchost.exe"}},
    {"letter doubled", IDS_VERDICT_LOOK_ALIKE, true, Named("lsasss.exe")},
    {"1 for l and a letter dropped, capitals", IDS_VERDICT_LOOK_ALIKE, true, Named("1SAS.EXE")},
    {"rn for m", IDS_VERDICT_LOOK_ALIKE, true, Named("srnss.exe")},
    {"NT 4's spooler, a listed name", IDS_VERDICT_LOOK_ALIKE, false, Named("spoolss.exe")},
    {"short names are not imitated", IDS_VERDICT_LOOK_ALIKE, false, Named("alq.exe")},
    {"two edits away", IDS_VERDICT_LOOK_ALIKE, false, Named("xplorer2.exe")},
    {"parent not services", IDS_VERDICT_WRONG_PARENT, true, Parent("cmd.exe"), {"cmd.exe", "services.exe"}},
    {"PID reused by a later process", IDS_VERDICT_WRONG_PARENT, false,
     Then(Parent("cmd.exe"), [](auto& f, auto&) { f.parentCreatedBefore = false; })},
    {"parent has exited", IDS_VERDICT_WRONG_PARENT, false, Parent("")},
    {"Vista starts it otherwise", IDS_VERDICT_WRONG_PARENT, false, Then(Parent("cmd.exe"), Vista)},
    {"two lsass", IDS_VERDICT_TOO_MANY, true, Named("lsass.exe"), {"lsass.exe", "2", "1"}, {"LSASS.EXE"}},
    {"two lsass under Wine", IDS_VERDICT_TOO_MANY, false, Then(Named("lsass.exe"), Wine), {}, {"lsass.exe"}},
    {"no -k", IDS_VERDICT_NO_ARGUMENT, true, Command(kSys + "\\svchost.exe"), {"svchost.exe", "-k"}},
    {"/K", IDS_VERDICT_NO_ARGUMENT, false, Command("svchost.exe /K \"rpc ss\"")},
    {"command line unreadable", IDS_VERDICT_NO_ARGUMENT, false, [](auto& f, auto&) { f.commandLine.reset(); }},
    {"user account", IDS_VERDICT_WRONG_ACCOUNT, true,
     [](auto& f, auto&) { f.account = Account::Other, f.accountName = "taro"; },
     {"taro", "SYSTEM, LOCAL SERVICE, NETWORK SERVICE"}},
    {"token unreadable", IDS_VERDICT_WRONG_ACCOUNT, false, [](auto& f, auto&) { f.account = Account::Unknown; }},
    {"Vista name on XP", IDS_VERDICT_NEWER_WINDOWS, true, Named("wininit.exe"), {"wininit.exe", "6.0", "5.1"}},
    {"XP name on XP", IDS_VERDICT_NEWER_WINDOWS, false, Named("alg.exe")},
    {"Windows 98's own wininit", IDS_VERDICT_NEWER_WINDOWS, false, Then(Named("wininit.exe"), Win98)},
    {"document extension", IDS_VERDICT_DOUBLE_EXTENSION, true, Named("invoice.pdf.exe"), {".pdf.exe"}},
    {"version in the name", IDS_VERDICT_DOUBLE_EXTENSION, false, Named("setup.1.2.exe")},
    {"four blanks", IDS_VERDICT_BLANKS_BEFORE_EXTENSION, true, Named("read me    .exe"), {"4"}},
    {"three blanks", IDS_VERDICT_BLANKS_BEFORE_EXTENSION, false, Named("read me   .exe")},
    {"recycle bin", IDS_VERDICT_UNUSUAL_FOLDER, true, Named("a.exe", "D:\\RECYCLER\\S-1-5"), {"D:\\RECYCLER\\S-1-5"}},
    {"a folder named like one", IDS_VERDICT_UNUSUAL_FOLDER, false, Named("a.exe", "C:\\Program Files\\Temp Tools")},
    {"beside Windows' Fonts", IDS_VERDICT_UNUSUAL_FOLDER, false, Named("a.exe", "C:\\WINDOWS\\FontsX")},
    {"backslash inside a character", IDS_VERDICT_UNUSUAL_FOLDER, false, Named("a.exe", "C:\\表Temp")},
    {"no company, no description", IDS_VERDICT_NO_VERSION_NAMES, true, [](auto& f, auto&) { f.version.emplace(); }},
    {"file unreadable", IDS_VERDICT_NO_VERSION_NAMES, false, [](auto& f, auto&) { f.version.reset(); }},
    {"renamed copy", IDS_VERDICT_ORIGINAL_NAME, true, Original("calc.exe"), {"calc.exe"}},
    {"original without extension", IDS_VERDICT_ORIGINAL_NAME, false, Original("svchost")},
    {"short alias", IDS_VERDICT_ORIGINAL_NAME, false, Then(Named("MYPROG~1.EXE"), Original("myprogram.exe"))},
};

}  // namespace

TEST(VerdictRules, EachRowFiresOrStaysQuiet) {
    for (const Row& row : kRows) {
        ProcessFacts facts = Svchost();
        Environment env = Xp();
        row.change(facts, env);
        const Verdict verdict = Judge(facts, env, row.others);
        const auto found = std::find_if(verdict.reasons.begin(), verdict.reasons.end(),
                                        [&](const Reason& reason) { return reason.stringId == row.id; });
        EXPECT_EQ(found != verdict.reasons.end(), row.fires) << row.label;
        if (row.fires && !row.parameters.empty() && found != verdict.reasons.end())
            EXPECT_EQ(found->parameters, row.parameters) << row.label;
    }
}

TEST(VerdictRules, GenuineProcessIsQuietAndReasonsComeMostSeriousFirst) {
    EXPECT_EQ(Judge(Svchost(), Xp()).reasons.size(), 0u);
    ProcessFacts fake = Process("svchost.exe", "C:\\WINDOWS\\Temp", "explorer.exe");
    fake.version = VersionNames{};
    const Verdict verdict = Judge(fake, Xp());
    std::vector<unsigned> order;
    for (const Reason& reason : verdict.reasons) order.push_back(reason.stringId);
    EXPECT_EQ(verdict.level, VerdictLevel::Danger);
    EXPECT_THAT(order, testing::ElementsAre(IDS_VERDICT_WRONG_FOLDER, IDS_VERDICT_WRONG_PARENT, IDS_VERDICT_NO_ARGUMENT,
                                            IDS_VERDICT_UNUSUAL_FOLDER, IDS_VERDICT_NO_VERSION_NAMES));
}

TEST(VerdictExpectations, ReadsOptionalKeysAndIgnoresWhatItCannotUse) {
    const Expectations read = Load(
        "[General]\nNum=5\ndb0=a.exe\ndb1=B.EXE\ndb2=b.exe\ndb3=c.exe\ndb4=日本.exe\n"
        "[a.exe]\nDanger=0\n[b.exe]\nFolder= %System%\\wbem ; ;X:\\y\\ \nParent=p.exe, q.exe\nInstances=-3\n"
        "Account=guest,NETWORK service\nMinVersion=5\n[c.exe]\nInstances=2\nMinVersion=v6\n"
        "[日本.exe]\nInstances=1\n");
    EXPECT_TRUE(read.Listed("A.exe"));
    EXPECT_EQ(read.Find("a.exe"), nullptr);  // listed without expectations
    EXPECT_EQ(read.Find("日本.exe"), nullptr);
    ASSERT_EQ(read.All().size(), 2u);
    const Expectation& b = *read.Find("b.exe");
    EXPECT_EQ(b.name, "B.EXE");
    EXPECT_THAT(b.folders, testing::ElementsAre("%System%\\wbem", "X:\\y\\"));
    EXPECT_THAT(b.parents, testing::ElementsAre("p.exe", "q.exe"));
    EXPECT_EQ(b.instances, 0);
    EXPECT_THAT(b.accounts, testing::ElementsAre(Account::NetworkService));
    EXPECT_EQ(std::pair(b.minMajor, b.minMinor), std::pair(5u, 0u));
    EXPECT_EQ(read.Find("C.EXE")->instances, 2);
    EXPECT_EQ(read.Find("c.exe")->minMajor, 0u);
}

namespace {

Expectations Shipped() {
    std::ifstream in(
#ifdef _WIN32
        "Z:"
#endif
        CVT_SOURCE_DIR "/data/cvtpdb.ini", std::ios::binary);
    return Load(std::string(std::istreambuf_iterator<char>(in), {}));
}

// Every process of a snapshot judged with the shipped database: the reasons of each, by name.
std::vector<std::string> Findings(const std::vector<ProcessFacts>& snapshot, const Environment& env) {
    const VerdictEngine engine(Shipped(), env);
    InstanceCounts counts(env.isLeadByte);
    for (const ProcessFacts& facts : snapshot) counts.Add(facts.imageName);
    std::vector<std::string> findings;
    for (const ProcessFacts& facts : snapshot)
        for (const Reason& reason : engine.Judge(facts, counts).reasons)
            findings.push_back(facts.imageName + " " + std::to_string(reason.stringId));
    return findings;
}

}  // namespace

TEST(VerdictSnapshot, GenuineXpShowsNothing) {
    const auto sys = [](const char* name, const char* parent, Account account, const std::string& arguments = "") {
        return Process(name, kSys, parent, account, arguments);
    };
    std::vector<ProcessFacts> snapshot = {
        Process("System", "", "", Account::System), sys("smss.exe", "System", Account::System),
        sys("csrss.exe", "smss.exe", Account::System), sys("winlogon.exe", "smss.exe", Account::System),
        sys("services.exe", "winlogon.exe", Account::System), sys("lsass.exe", "winlogon.exe", Account::System),
        sys("svchost.exe", "services.exe", Account::System, " -k DcomLaunch"),
        sys("svchost.exe", "services.exe", Account::NetworkService, " -k rpcss"),
        sys("svchost.exe", "services.exe", Account::LocalService, " -k LocalService"),
        sys("spoolsv.exe", "services.exe", Account::System), sys("alg.exe", "services.exe", Account::LocalService),
        Process("explorer.exe", "C:\\WINDOWS", "", Account::Other), sys("ctfmon.exe", "explorer.exe", Account::Other),
        sys("wuauclt.exe", "svchost.exe", Account::Other),
        Process("wmiprvse.exe", kSys + "\\wbem", "svchost.exe", Account::NetworkService),
        Process("cvt.exe", "C:\\Program Files\\Corvault", "explorer.exe", Account::Other)};
    snapshot[0].imagePath.clear();
    EXPECT_THAT(Findings(snapshot, Xp()), testing::IsEmpty());
}

TEST(VerdictMemo, JudgesAgainOnlyWhenFactsOrItsOwnNameCountChange) {
    const VerdictEngine engine(Sample(), Xp());
    VerdictMemo memo(engine);
    InstanceCounts counts(IsCp932LeadByte), more(IsCp932LeadByte);
    for (const char* name : {"lsass.exe", "svchost.exe"}) counts.Add(name), more.Add(name);
    more.Add("svchost.exe");  // another name's count: no change for lsass
    ProcessFacts lsass = Process("lsass.exe", kSys, "winlogon.exe");
    EXPECT_EQ(memo.Judge(lsass, counts).reasons.size(), 0u);
    EXPECT_EQ(memo.Judge(lsass, more).reasons.size(), 0u);
    EXPECT_EQ(memo.Computations(), 1u);
    more.Add("LSASS.EXE");
    EXPECT_EQ(memo.Judge(lsass, more).level, VerdictLevel::Warning);
    lsass.commandLine = "lsass.exe -x";
    EXPECT_EQ(memo.Judge(lsass, more).level, VerdictLevel::Warning);
    EXPECT_EQ(memo.Computations(), 3u);
    lsass.creationTime = 1;  // the same PID, a new process
    memo.Sweep();
    EXPECT_EQ(memo.Judge(lsass, more).level, VerdictLevel::Warning);
    EXPECT_EQ(memo.Computations(), 4u);
    memo.Sweep();
    EXPECT_EQ(memo.Size(), 1u);  // the old process was not judged again
}

TEST(VerdictText, FillsParametersOnceAndSplitsPathsByCharacter) {
    EXPECT_EQ(FillParameters("%s は %s から 100%% %s", {"a.exe", "%s"}), "a.exe は %s から 100% ");
    EXPECT_EQ(FillParameters("%d%", {"x"}), "%d%");
    const PathParts parts = SplitPath("C:\\表\\\\ソ", IsCp932LeadByte);  // both characters end in 0x5C
    EXPECT_EQ(parts.folder, "C:\\表");
    EXPECT_EQ(parts.file, "ソ");
    EXPECT_TRUE(SameFolder("C:\\表\\", "c:\\表", IsCp932LeadByte));
    EXPECT_FALSE(SameFolder("C:\\A", "C:\\a\\b", IsCp932LeadByte));
}
