#include "app/load_messages.h"

namespace {

std::string refusal(DataFile file)
{
    switch (file) {
    case DataFile::shore: return "Can't load shore";
    case DataFile::borders: return "Can't load bords";
    case DataFile::stars: return "Can't load stars.dat\n";
    case DataFile::texture:
    case DataFile::lights: break;
    }
    return "";  // without its picture the globe is filled from the shorelines
}

}  // namespace

std::string load_message(DataFile file, const Result& result)
{
    // Without the city lights the night side is only darker: stderr says why.
    if (file == DataFile::lights) return "";
    switch (result.kind) {
    case Result::Kind::done: break;
    case Result::Kind::warned:
        if (file == DataFile::shore) return "Constant LPSALLOC not high enough :(";
        break;
    case Result::Kind::failed: return refusal(file);
    case Result::Kind::out_of_memory: return "Out of memory (" + result.reason + ")";
    }
    return "";
}
