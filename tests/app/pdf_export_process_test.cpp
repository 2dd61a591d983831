// "tavrel --export-pdf" as a user runs it: the built program in a fresh home (the settings'
// defaults), its PDF read back with poppler's pdfinfo and pdftotext.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <sstream>

#include "nul_files.h"
#include "print/pdf_reader.h"
#include "support/corpus.h"

namespace tavrel {
namespace {

using namespace tavrel::test;

class PdfExportProcess : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveToolsForPdf()) {
            GTEST_SKIP() << "poppler-utils not installed";
        }
        ASSERT_TRUE(home.isValid());
    }

    // Runs the program with the arguments (already quoted); returns the exit status.
    int run(const std::string& arguments, std::string* err = nullptr) {
        const std::string errFile = path("stderr.txt");
        const std::string command = "env -u DISPLAY HOME='" + home.path().toStdString() +
                                    "' XDG_CONFIG_HOME='" + path("config") + "' '" +
                                    TAVREL_BINARY_DIR "/bin/tavrel' " + arguments + " 2>'" +
                                    errFile + "'";
        const int status = std::system(command.c_str());
        if (err != nullptr) {
            *err = readFile(errFile);
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string path(const char* name) const { return home.filePath(name).toStdString(); }

    std::string write(const char* name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }

    QTemporaryDir home;
};

TEST_F(PdfExportProcess, PrintsAFileWithFormFeedsAndLineNumbers) {
    const std::string text = write("a.txt", "first words\r\n\fsecond words\r\nthird words");
    const std::string pdf = path("a.pdf");
    ASSERT_EQ(run("--export-pdf '" + pdf + "' --line-numbers '" + text + "'"), 0);
    EXPECT_EQ(pdfPageCount(pdf), 2);
    EXPECT_EQ(pdfInfo(pdf, "Title"), "Tavrel");
    EXPECT_NE(pdfText(pdf, 1, 1).find("1: first words"), std::string::npos);
    const std::string second = pdfText(pdf, 2, 2);
    EXPECT_NE(second.find("2: second words"), std::string::npos) << second;
    EXPECT_NE(second.find("3: third words"), std::string::npos) << second;
}

// NUL bytes print as blank cells and the text goes on after them, as in the window.
TEST_F(PdfExportProcess, nulBytesAreBlankCellsAndTheTextAfterThemIsPrinted) {
    for (const NulFile& nul : nulFiles()) {
        SCOPED_TRACE(nul.name);
        const std::string text = write(nul.name.c_str(), nul.bytes);
        const std::string pdf = path((nul.name + ".pdf").c_str());
        std::string err;
        ASSERT_EQ(run("--export-pdf '" + pdf + "' '" + text + "'", &err), 0) << err;
        EXPECT_EQ(err.find("NUL"), std::string::npos) << err; // nothing left out to warn of
        const std::string printed = pdfText(pdf, 1, 1);
        for (const std::string& word : nul.words) {
            EXPECT_NE(printed.find(word), std::string::npos) << word << " in: " << printed;
        }
    }
}

TEST_F(PdfExportProcess, CorpusFileToStandardOutputAndToAFolder) {
    const auto files = corpusFiles();
    std::filesystem::path chosen;
    for (const auto& file : files) {
        if (file.parent_path().filename() == "txt" && file.extension() == ".txt") {
            chosen = file;
            break;
        }
    }
    if (chosen.empty()) {
        GTEST_SKIP() << "no corpus";
    }
    const std::string pdf = path("out.pdf");
    ASSERT_EQ(run("--export-pdf - '" + chosen.string() + "' > '" + pdf + "'"), 0);
    const int pages = pdfPageCount(pdf);
    EXPECT_GE(pages, 1);
    ASSERT_TRUE(std::filesystem::create_directory(path("dir")));
    std::string err;
    ASSERT_EQ(
        run("--export-pdf --columns 2 --output-dir '" + path("dir") + "' '" + chosen.string() + "'",
            &err),
        0)
        << err;
    const std::filesystem::path inDir =
        std::filesystem::path(path("dir")) / (chosen.stem().string() + ".pdf");
    ASSERT_TRUE(std::filesystem::exists(inDir)) << err;
    // Narrower columns may wrap more lines, so the page count may go either way; the
    // first page still starts with the same text.
    EXPECT_GE(pdfPageCount(inDir), 1);
    std::istringstream firstPage(pdfText(pdf, 1, 1));
    std::string firstWord;
    firstPage >> firstWord;
    ASSERT_FALSE(firstWord.empty());
    EXPECT_NE(pdfText(inDir, 1, 1).find(firstWord), std::string::npos) << firstWord;
}

TEST_F(PdfExportProcess, FailuresExitNonZeroWithTheReason) {
    std::string err;
    EXPECT_EQ(run("--export-pdf '" + path("x.pdf") + "' '" + path("missing.txt") + "'", &err), 1);
    EXPECT_NE(err.find("missing.txt"), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(path("x.pdf")));
    const std::string text = write("b.txt", "b");
    EXPECT_EQ(run("--export-pdf '" + path("no/such/dir/b.pdf") + "' '" + text + "'", &err), 1);
    EXPECT_FALSE(err.empty());
    EXPECT_EQ(run("--export-pdf '" + path("b.pdf") + "' --columns 0 '" + text + "'", &err), 2);
    EXPECT_NE(err.find("--columns"), std::string::npos) << err;
    // The PDF would take the place of the text it prints.
    EXPECT_EQ(run("--export-pdf '" + text + "' '" + text + "'", &err), 1);
    EXPECT_EQ(readFile(text), "b");
}

// Margins from a damaged settings file that leave no room for a line print nothing and say
// why, instead of a character per line or a line per page.
TEST_F(PdfExportProcess, marginsWithoutRoomForALineAreRefusedWithTheReason) {
    const std::string text = write("c.txt", "some words\r\n");
    for (const char* margins : {"Options_MarginLeft=1000\nOptions_MarginRight=0",
                                "Options_MarginTop=1e300\nOptions_MarginBottom=2"}) {
        std::filesystem::create_directories(path("config") + "/Velmantic");
        std::ofstream(path("config") + "/Velmantic/Tavrel.conf") << "[General]\n"
                                                                 << margins << "\n";
        std::string err;
        EXPECT_EQ(run("--export-pdf '" + path("c.pdf") + "' '" + text + "'", &err), 1) << margins;
        EXPECT_NE(err.find("no room for a line of text"), std::string::npos) << err;
        EXPECT_FALSE(std::filesystem::exists(path("c.pdf"))) << margins;
    }
}

} // namespace
} // namespace tavrel
