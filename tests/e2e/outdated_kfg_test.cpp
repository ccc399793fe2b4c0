// A configuration library older than 2.5: one warning, exit code 0, and nothing touched.
#include "journey.h"
#include "language_file.h"
#include "options.h"

namespace e2e {
namespace {

class OutdatedKfg : public Journey {
  protected:
    // Every file of the data folder with its bytes.
    static std::map<std::string, std::string> dataFiles() {
        std::map<std::string, std::string> files;
        for (const std::string& folder : {dataFolder(), previewFolder()})
            for (const std::string& name : filesIn(folder))
                files[folder + "\\" + name] = fileBytes(folder + "\\" + name);
        return files;
    }
};

TEST_F(OutdatedKfg, WarnsWithE000AndEndsBeforeMakingTheDataFolder) {
    MuraltoRun::Setup setup;
    setup.languageFile = false;
    setup.outdatedKfg = true;
    MuraltoRun run(setup);
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.waitForExit()) << "the program did not end";
    EXPECT_EQ(0u, run.exitCode());
    auto boxes = run.messageBoxes();
    ASSERT_EQ(1u, boxes.size()) << describe(boxes);
    EXPECT_EQ(kMainCaption, boxes[0].caption);
    EXPECT_EQ("[E000]: La dll \"KFG\" est invalide !              ", boxes[0].text);
    EXPECT_FALSE(folderExists(dataFolder())) << "the data folder was made";
}

TEST_F(OutdatedKfg, LeavesTheConfigurationAndUnlistedFilesAsTheyWere) {
    std::vector<Language> languages = readLanguageFile(options.programFolder + "\\Muralto.lng");
    ASSERT_FALSE(languages.empty());
    configure(SystemSettings(), {threeWallpapers()[0]});
    // Files no configuration lists: a normal start removes them.
    writeWallpaperFiles({7, "Ancien.jpg", 60, 0});
    std::map<std::string, std::string> before = dataFiles();

    MuraltoRun::Setup setup;
    setup.outdatedKfg = true;
    MuraltoRun run(setup);
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.waitForExit()) << "the program did not end";
    EXPECT_EQ(0u, run.exitCode());
    auto boxes = run.messageBoxes();
    ASSERT_EQ(1u, boxes.size()) << describe(boxes);
    EXPECT_EQ(languages[0].text(21), boxes[0].text) << "the first language's text";
    EXPECT_TRUE(before == dataFiles()) << "files changed in " << dataFolder();
    EXPECT_EQ(5u, dataFiles().size());
}

} // namespace
} // namespace e2e
