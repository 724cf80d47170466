#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/settings_file.h"
#include "program_fixture.h"
#include "tests/support/temp_folder.h"

namespace stratocue::app {
namespace {

using test_support::TempFolder;

std::string contentOf(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

TEST(SettingsFile, ReadsNameValueLinesAndComments) {
    const SettingsRead read = parseSettings(
        "# kept settings\r\n"
        "\r\n"
        "txtREPEATMETAR=10\r\n"
        "  chkVATSIM = 1   # trailing comment\n"
        "chkSMOOTH=0\n"
        "chkSMOOTH=1\n"  // a later line wins
        "txtREPEATFD=120");
    EXPECT_TRUE(read.ignored.empty());
    const std::map<std::string, int, std::less<>> expected = {
        {"txtREPEATMETAR", 10}, {"chkVATSIM", 1}, {"chkSMOOTH", 1}, {"txtREPEATFD", 120}};
    EXPECT_EQ(read.values, expected);
}

TEST(SettingsFile, ALineItCannotUseKeepsTheDefaultAndIsNamed) {
    struct Case {
        const char* name;
        const char* line;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"NotNameValue", "chkSMOOTH 1", "not name=value"},
        {"UnknownSetting", "chkFORCED=1", "unknown setting"},
        {"ForcedStationIsNotKept", "txtMETARINPUT=1", "unknown setting"},
        {"NotANumber", "txtREPEATMETAR=ten", "not a whole number"},
        {"Fraction", "txtREPEATMETAR=2.5", "not a whole number"},
        {"EmptyValue", "chkSMOOTH=", "not a whole number"},
        {"IntervalAboveRange", "txtREPEATMETAR=61", "out of range 1 to 60"},
        {"IntervalBelowRange", "txtREPEATFD=0", "out of range 1 to 120"},
        {"CheckBoxAboveOne", "chkVATSIM=2", "out of range 0 to 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SettingsRead read = parseSettings(std::string("chkDISABLEMSG=1\n") + c.line + "\n");
        EXPECT_EQ(read.values.size(), 1u);  // the good line is still taken
        ASSERT_EQ(read.ignored.size(), 1u);
        EXPECT_EQ(read.ignored[0].lineNumber, 2);
        EXPECT_EQ(read.ignored[0].text, c.line);
        EXPECT_EQ(read.ignored[0].reason, c.reason);

        ui::FrmMain form;
        applySettings(read, form);
        EXPECT_EQ(form.txtMETARstr.value(),
                  std::string("Loading...\r\nstratocue.ini line 2 ignored (") + c.reason + "): " + c.line + "\r\n");
    }
}

TEST(SettingsFile, RoundTripKeepsEverySetting) {
    const TempFolder folder;
    ui::FrmMain saved;
    saved.txtREPEATMETAR.set("12");
    saved.txtREPEATFD.set(" 90");
    saved.chkUPDATEONSTATION.set(0);
    saved.chkUPDATEFDONSTATION.set(1);
    saved.chkVATSIM.set(1);
    saved.chkWINDSALOFT.set(0);
    saved.chkDISABLEMSG.set(1);
    saved.chkSMOOTH.set(1);
    saved.txtMETARINPUT.set("KSFO");  // the forced station is not kept
    ASSERT_TRUE(saveSettings(folder.path(), saved));

    ui::FrmMain read;
    applySettings(loadSettings(folder.path()), read);
    EXPECT_EQ(read.txtREPEATMETAR.value(), " 12");
    EXPECT_EQ(read.txtREPEATFD.value(), " 90");
    for (const SettingRange& setting : kKeptSettings) {
        for (const ui::FrmMain::ControlEntry& entry : ui::FrmMain::controls()) {
            if (entry.name != setting.name || entry.check == nullptr) continue;
            EXPECT_EQ((read.*entry.check).value(), (saved.*entry.check).value()) << entry.name;
        }
    }
    EXPECT_EQ(read.txtMETARINPUT.value(), "");
    EXPECT_EQ(read.txtMETARstr.value(), ui::FrmMain{}.txtMETARstr.value());
    EXPECT_FALSE(std::filesystem::exists(folder.file("stratocue.ini.new")));
}

TEST(SettingsFile, AnIntervalBoxNotInRangeIsLeftOut) {
    ui::FrmMain form;
    form.txtREPEATMETAR.set("");
    form.txtREPEATFD.set("500");
    const SettingsRead read = parseSettings(settingsText(form));
    EXPECT_TRUE(read.ignored.empty());
    EXPECT_FALSE(read.values.contains("txtREPEATMETAR"));
    EXPECT_FALSE(read.values.contains("txtREPEATFD"));
    EXPECT_TRUE(read.values.contains("chkSMOOTH"));
}

TEST(SettingsFile, AFolderThatCannotBeWrittenKeepsTheOldFile) {
    struct Case {
        const char* name;
        const char* blockingFolder;  // a folder where the file or its temporary one would go
    };
    // Permissions do not stop the superuser the tests may run as, so the names are taken.
    const std::vector<Case> cases = {
        {"TemporaryFileCannotBeMade", "stratocue.ini.new"},
        {"FileCannotBeReplaced", "stratocue.ini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder folder;
        std::filesystem::create_directory(folder.file(c.blockingFolder));
        const std::filesystem::path kept = folder.write(std::string(c.blockingFolder) + "/kept", "chkSMOOTH=1\n");
        ui::FrmMain form;
        EXPECT_FALSE(saveSettings(folder.path(), form));
        EXPECT_EQ(contentOf(kept), "chkSMOOTH=1\n");
        EXPECT_FALSE(std::filesystem::is_regular_file(folder.file("stratocue.ini.new")));
    }
}

TEST(SettingsFile, ProgramReadsThemAtStartAndSavesThemOnEndProgram) {
    const TempFolder folder;
    folder.write("stratocue.ini", "txtREPEATMETAR=15\nchkSMOOTH=1\nchkVATSIM=7\n");
    testing::ProgramFixture fixture;
    Program program({fixture.simulator, fixture.transfer, fixture.messageBoxes, STRATOCUE_DATA_DIR, nullptr, nullptr,
                     folder.path()});
    program.Main();
    EXPECT_EQ(program.frmMain().txtREPEATMETAR.value(), " 15");
    EXPECT_EQ(program.frmMain().chkSMOOTH.value(), 1);
    EXPECT_EQ(program.frmMain().chkVATSIM.value(), 0);
    EXPECT_EQ(program.frmMain().txtMETARstr.value(),
              "Loading...\r\nstratocue.ini line 3 ignored (out of range 0 to 1): chkVATSIM=7\r\n");

    program.frmMain().chkDISABLEMSG.set(1);
    program.frmMain().butOK.click();
    EXPECT_FALSE(program.anyWindowLeft());
    const SettingsRead saved = loadSettings(folder.path());
    EXPECT_EQ(saved.values.at("txtREPEATMETAR"), 15);
    EXPECT_EQ(saved.values.at("chkDISABLEMSG"), 1);
    EXPECT_EQ(saved.values.at("chkSMOOTH"), 1);
    EXPECT_EQ(saved.values.at("chkVATSIM"), 0);
}

TEST(SettingsFile, WithoutAFileEveryStartIsFromTheDefaults) {
    const TempFolder folder;
    testing::ProgramFixture fixture;
    Program program({fixture.simulator, fixture.transfer, fixture.messageBoxes, STRATOCUE_DATA_DIR, nullptr, nullptr,
                     folder.path()});
    program.Main();
    const ui::FrmMain defaults;
    for (const ui::FrmMain::ControlEntry& entry : ui::FrmMain::controls()) {
        if (entry.check != nullptr) {
            EXPECT_EQ((program.frmMain().*entry.check).value(), (defaults.*entry.check).value()) << entry.name;
        }
        if (entry.text != nullptr) {
            EXPECT_EQ((program.frmMain().*entry.text).value(), (defaults.*entry.text).value()) << entry.name;
        }
    }
}

}  // namespace
}  // namespace stratocue::app
