// Checks the committed pictures, icon and taunts have the exact formats the
// launchers load: Windows' loaders reject or misdraw anything else silently.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes slurp(const std::string& name) {
    std::ifstream in(std::string(RESOURCE_DIR) + "/" + name, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + name);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Little-endian field; throws rather than read past the end of a short file.
std::uint32_t le(const Bytes& b, std::size_t at, int n) {
    if (at + n > b.size()) throw std::out_of_range("field past end of file");
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | b[at + i];
    return v;
}

std::string tag(const Bytes& b, std::size_t at) {
    if (at + 4 > b.size()) throw std::out_of_range("tag past end of file");
    return std::string(b.begin() + at, b.begin() + at + 4);
}

struct Picture { const char* file; int width, height; };

class PictureTest : public ::testing::TestWithParam<Picture> {};

TEST_P(PictureTest, IsBottomUp24BitUncompressed) {
    const Picture& p = GetParam();
    const Bytes b = slurp(p.file);
    ASSERT_EQ(tag(b, 0).substr(0, 2), "BM");
    EXPECT_EQ(le(b, 2, 4), b.size());
    EXPECT_EQ(le(b, 14, 4), 40u);  // BITMAPINFOHEADER
    EXPECT_EQ(static_cast<std::int32_t>(le(b, 18, 4)), p.width);
    EXPECT_EQ(static_cast<std::int32_t>(le(b, 22, 4)), p.height);  // > 0: bottom-up
    EXPECT_EQ(le(b, 26, 2), 1u);
    EXPECT_EQ(le(b, 28, 2), 24u);
    EXPECT_EQ(le(b, 30, 4), 0u);  // BI_RGB
    const std::size_t stride = (p.width * 3 + 3) & ~3u;
    const std::size_t bits = le(b, 10, 4);
    ASSERT_EQ(bits + stride * p.height, b.size());

    // A flat or nearly flat fill means the drawing step went wrong.
    std::set<std::uint32_t> colours;
    for (std::size_t i = bits; i + 3 <= b.size() && colours.size() < 1000; i += 3)
        colours.insert(le(b, i, 3));
    EXPECT_GE(colours.size(), 1000u);
}

INSTANTIATE_TEST_SUITE_P(Launchers, PictureTest,
                         ::testing::Values(Picture{"valkor/picture.bmp", 512, 511},
                                           Picture{"novalkor/picture.bmp", 512, 512}));

TEST(IconTest, HoldsFourPaletteDibsInOrder) {
    const Bytes b = slurp("common/app.ico");
    ASSERT_EQ(le(b, 0, 2), 0u);
    ASSERT_EQ(le(b, 2, 2), 1u);  // icon, not cursor
    ASSERT_EQ(le(b, 4, 2), 4u);

    const struct { unsigned size, bpp, colours; } want[] = {
        {32, 4, 16}, {32, 8, 0}, {16, 4, 16}, {16, 8, 0}};
    std::size_t end_of_last = 6 + 16 * 4;
    for (unsigned i = 0; i < 4; ++i) {
        SCOPED_TRACE("image " + std::to_string(i));
        const std::size_t e = 6 + 16 * i;
        const unsigned size = want[i].size, bpp = want[i].bpp;
        EXPECT_EQ(b.at(e), size);
        EXPECT_EQ(b.at(e + 1), size);
        EXPECT_EQ(b.at(e + 2), want[i].colours);
        EXPECT_EQ(b.at(e + 3), 0);
        EXPECT_EQ(le(b, e + 4, 2), 1u);
        EXPECT_EQ(le(b, e + 6, 2), bpp);
        const std::size_t bytes = le(b, e + 8, 4), at = le(b, e + 12, 4);
        ASSERT_GE(at, end_of_last) << "overlaps the directory or the image before";
        ASSERT_LE(at + bytes, b.size());
        end_of_last = at + bytes;

        ASSERT_NE(tag(b, at), "\x89PNG");
        EXPECT_EQ(le(b, at, 4), 40u);
        EXPECT_EQ(le(b, at + 4, 4), size);
        EXPECT_EQ(le(b, at + 8, 4), size * 2);  // XOR bits and AND mask
        EXPECT_EQ(le(b, at + 12, 2), 1u);
        EXPECT_EQ(le(b, at + 14, 2), bpp);
        EXPECT_EQ(le(b, at + 16, 4), 0u);
        const std::size_t used = le(b, at + 32, 4);
        const std::size_t palette = 4 * (used ? used : 1u << bpp);
        const std::size_t xor_row = (size * bpp + 31) / 32 * 4, and_row = (size + 31) / 32 * 4;
        EXPECT_EQ(40 + palette + (xor_row + and_row) * size, bytes);
    }
}

struct Sound {
    const char* file;
    unsigned format, channels, rate;
    unsigned avg_bytes;  // 0: whatever the codec states
    unsigned bits;
    double seconds;
};

class SoundTest : public ::testing::TestWithParam<Sound> {};

TEST_P(SoundTest, HasTheFormatAndLength) {
    const Sound& s = GetParam();
    const Bytes b = slurp(s.file);
    ASSERT_EQ(tag(b, 0), "RIFF");
    ASSERT_EQ(tag(b, 8), "WAVE");
    EXPECT_EQ(le(b, 4, 4) + 8, b.size());

    std::size_t fmt = 0, fmt_size = 0, data = 0, data_size = 0, at = 12;
    while (at < b.size()) {
        const std::string id = tag(b, at);
        const std::size_t size = le(b, at + 4, 4);
        if (id == "fmt ") fmt = at + 8, fmt_size = size;
        if (id == "data") data = at + 8, data_size = size;
        at += 8 + size + (size & 1);
    }
    ASSERT_EQ(at, b.size()) << "last chunk runs past the end";
    ASSERT_TRUE(fmt && data);

    EXPECT_EQ(le(b, fmt, 2), s.format);
    EXPECT_EQ(le(b, fmt + 2, 2), s.channels);
    EXPECT_EQ(le(b, fmt + 4, 4), s.rate);
    const unsigned avg = le(b, fmt + 8, 4);
    if (s.avg_bytes) {
        EXPECT_EQ(avg, s.avg_bytes);
    }
    EXPECT_EQ(le(b, fmt + 14, 2), s.bits);
    ASSERT_GT(avg, 0u);
    EXPECT_NEAR(double(data_size) / avg, s.seconds, s.seconds * 0.4);

    if (s.format != 0x55) return;
    // MPEGLAYER3WAVEFORMAT, then whole MPEG-2 layer III frames that agree
    // with it: stray tags or a wrong rate would make the decoder give up.
    ASSERT_EQ(fmt_size, 30u);
    EXPECT_EQ(le(b, fmt + 12, 2), 1u);   // nBlockAlign
    EXPECT_EQ(le(b, fmt + 16, 2), 12u);  // cbSize
    EXPECT_EQ(le(b, fmt + 18, 2), 1u);   // wID: MPEG
    static const unsigned kbps[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    std::size_t f = data, frames = 0;
    while (f + 4 <= data + data_size) {
        SCOPED_TRACE("frame at byte " + std::to_string(f));
        ASSERT_EQ(b[f], 0xFF);
        ASSERT_EQ(b[f + 1] & 0xFE, 0xF2);  // sync, MPEG-2, layer III
        const unsigned index = b[f + 2] >> 4;
        ASSERT_TRUE(index > 0 && index < 15);
        ASSERT_EQ(kbps[index] * 125, avg);
        ASSERT_EQ((b[f + 2] >> 2) & 3, 0);  // 22050 Hz
        ASSERT_EQ((b[f + 3] >> 6) == 3, s.channels == 1);
        f += 72 * kbps[index] * 1000 / s.rate + ((b[f + 2] >> 1) & 1);
        ++frames;
    }
    EXPECT_EQ(f, data + data_size) << "data does not end on a frame boundary";
    EXPECT_NEAR(frames * 576.0 / s.rate, s.seconds, s.seconds * 0.4);
}

INSTANTIATE_TEST_SUITE_P(
    Launchers, SoundTest,
    ::testing::Values(Sound{"novalkor/taunt133.wav", 0x55, 2, 22050, 7000, 0, 9},
                      Sound{"novalkor/taunt138.wav", 0x02, 1, 22050, 0, 4, 4},
                      Sound{"valkor/taunt154.wav", 0x55, 1, 22050, 4000, 0, 3}));

}  // namespace
