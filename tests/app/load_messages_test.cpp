#include "app/load_messages.h"

#include <gtest/gtest.h>

// The viewer's own texts for every way a data file can load, word for word:
// a refused picture says nothing (the globe is filled instead), a catalogue
// cut short only warns on stderr.
TEST(LoadMessages, EachFileAndOutcome)
{
    using K = Result::Kind;
    const struct {
        DataFile file;
        Result result;
        const char* text;
    } cases[] = {
        {DataFile::texture, {K::failed, "not a GIF file"}, ""},
        {DataFile::texture, {K::out_of_memory, "pic"}, "Out of memory (pic)"},
        {DataFile::shore, {K::failed, "it is a folder"}, "Can't load shore"},
        {DataFile::shore, {K::warned, "pieces"}, "Constant LPSALLOC not high enough :("},
        {DataFile::shore, {K::out_of_memory, "loopnum"}, "Out of memory (loopnum)"},
        {DataFile::borders, {K::failed, ""}, "Can't load bords"},
        {DataFile::borders, {K::out_of_memory, "polineto"}, "Out of memory (polineto)"},
        {DataFile::stars, {K::failed, ""}, "Can't load stars.dat\n"},
        {DataFile::stars, {K::warned, "it holds only 2 of the 4 stars its count gives"}, ""},
        {DataFile::stars, {}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(load_message(c.file, c.result), c.text) << c.result.reason;
    EXPECT_EQ(Result({K::out_of_memory, "starv"}).why(), "out of memory (starv)");
    EXPECT_FALSE(Result({K::failed, "x"}).ok());
    EXPECT_TRUE(Result({K::warned, "x"}).ok());
}
