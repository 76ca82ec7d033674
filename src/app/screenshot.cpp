#include "app/screenshot.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace {

constexpr int buffer_size = 4096;
constexpr int32_t name_count = 10000;

struct PcxOut {
    int fd;
    uint8_t buf[buffer_size];
    int len = 0;
    bool ok = true;
};

void flush(PcxOut& out)
{
    int done = 0;
    while (out.ok && done < out.len) {
        const ssize_t n = write(out.fd, out.buf + done, static_cast<size_t>(out.len - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) out.ok = false;
        else done += static_cast<int>(n);
    }
    out.len = 0;
}

void put16(uint8_t* p, int32_t v)
{
    p[0] = static_cast<uint8_t>(v & 0xFF);
    p[1] = static_cast<uint8_t>((v >> 8) & 0xFF);
}

void header(uint8_t* h, int32_t width, int32_t height)
{
    std::memset(h, 0, 128);
    h[0] = 0x0A;
    h[1] = 5;
    h[2] = 1;
    h[3] = 8;
    put16(h + 8, width - 1);
    put16(h + 10, height - 1);
    put16(h + 12, width);
    put16(h + 14, height);
    for (int i = 0; i < 16; ++i) h[16 + 3 * i] = h[17 + 3 * i] = h[18 + 3 * i] = static_cast<uint8_t>(8 * i);
    h[65] = 1;
    put16(h + 66, width);
}

void encode_row(PcxOut& out, const uint8_t* row, int32_t width)
{
    int32_t x = 0;
    while (x < width) {
        const uint8_t value = row[x];
        int32_t n = 1;
        while (n < 63 && x + n < width && row[x + n] == value) ++n;
        if (n > 1 || value >= 0xC0) out.buf[out.len++] = static_cast<uint8_t>(0xC0 | n);
        out.buf[out.len++] = value;
        x += n;
        if (out.len > buffer_size - 2) flush(out);
    }
}

int write_stream(int fd, const uint8_t* pixels, int32_t width, int32_t height, int32_t pitch, const Palette& palette)
{
    PcxOut out{fd, {}, 0, true};
    header(out.buf, width, height);
    out.len = 128;
    for (int32_t y = 0; y < height; ++y) encode_row(out, pixels + static_cast<std::ptrdiff_t>(y) * pitch, width);
    if (out.len > buffer_size - 769) flush(out);
    out.buf[out.len++] = 0x0C;
    for (const PaletteEntry& e : palette) {
        out.buf[out.len++] = e.red;
        out.buf[out.len++] = e.green;
        out.buf[out.len++] = e.blue;
    }
    flush(out);
    return out.ok ? 0 : -1;
}

bool exists(const std::string& name)
{
    return access(name.c_str(), F_OK) == 0 || errno != ENOENT;
}

// Gives the finished temporary file its name, never replacing a file.
int publish(const std::string& temp, const std::string& name)
{
    // link() fails if the name appeared meanwhile, so nothing is replaced.
    int linked = link(temp.c_str(), name.c_str());
    // A file system without hard links (the browser's in-memory one) takes a
    // rename while the name is still free.
    if (linked != 0 && (errno == EMLINK || errno == EPERM) && !exists(name)) linked = rename(temp.c_str(), name.c_str());
    unlink(temp.c_str());
    return linked;
}

}  // namespace

int write_pcx(const char* filename, const uint8_t* pixels, int32_t width, int32_t height, int32_t pitch,
              const Palette& palette)
{
    const int fd = open(filename, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    const int result = write_stream(fd, pixels, width, height, pitch, palette);
    return close(fd) == 0 ? result : -1;
}

std::string screenshot_name(int32_t counter)
{
    std::string name = "GLOB0000.PCX";
    for (int i = 7, c = counter; i >= 4; --i, c /= 10) name[static_cast<size_t>(i)] = static_cast<char>('0' + c % 10);
    return name;
}

int save_screenshot(int32_t* counter, const uint8_t* pixels, int32_t width, int32_t height, int32_t pitch,
                    const Palette& palette)
{
    for (int32_t tries = 0; tries < name_count; ++tries) {
        const int32_t number = (*counter + tries) % name_count;
        const std::string name = screenshot_name(number);
        if (exists(name)) continue;
        const std::string temp = name + ".tmp";
        if (write_pcx(temp.c_str(), pixels, width, height, pitch, palette) != 0) {
            unlink(temp.c_str());
            return -1;
        }
        if (publish(temp, name) != 0) return -1;
        *counter = number + 1;
        return 0;
    }
    return -1;
}
