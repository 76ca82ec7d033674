#include "app/load_messages.h"

#include <gtest/gtest.h>

// The viewer's own texts for the ways a data file can load that no loading
// test reaches, word for word: a refused picture says nothing (the globe is
// filled instead), and memory running out names what was being made. The map
// files' and the catalogue's refusals and warnings are checked where they load.
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
        {DataFile::shore, {K::out_of_memory, "loopnum"}, "Out of memory (loopnum)"},
        {DataFile::borders, {K::out_of_memory, "polineto"}, "Out of memory (polineto)"},
        {DataFile::stars, {}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(load_message(c.file, c.result), c.text) << c.result.reason;
    EXPECT_EQ(Result({K::out_of_memory, "starv"}).why(), "out of memory (starv)");
    EXPECT_FALSE(Result({K::failed, "x"}).ok());
    EXPECT_TRUE(Result({K::warned, "x"}).ok());
}
