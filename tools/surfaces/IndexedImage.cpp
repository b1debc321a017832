#include "IndexedImage.h"

#include <stdexcept>

namespace spades::surfaces {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const TIndexedImage& image)
{
    const std::size_t colours = std::size_t(1) << image.bitsPerPixel;
    if ((image.bitsPerPixel != 8 && image.bitsPerPixel != 4) || image.palette.size() != colours)
        throw std::invalid_argument("palette image needs 4 or 8 bits and a full palette");

    const std::uint32_t rowBytes = ((std::uint32_t(image.width) * std::uint32_t(image.bitsPerPixel) + 31) / 32) * 4;
    const std::uint32_t imageBytes = rowBytes * std::uint32_t(image.height);
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize + std::uint32_t(colours) * 4;

    std::vector<std::uint8_t> out;
    out.reserve(offset + imageBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + imageBytes);
    Put32(out, 0);  // reserved
    Put32(out, offset);

    Put32(out, kInfoHeaderSize);
    Put32(out, std::uint32_t(image.width));
    Put32(out, std::uint32_t(image.height));  // positive: rows run bottom-up
    Put16(out, 1);                            // planes
    Put16(out, std::uint32_t(image.bitsPerPixel));
    Put32(out, 0);  // uncompressed
    Put32(out, imageBytes);
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, std::uint32_t(colours));
    Put32(out, 0);  // all colours important

    for (const TColour& c : image.palette) {
        out.push_back(c.blue);
        out.push_back(c.green);
        out.push_back(c.red);
        out.push_back(0);
    }

    for (int y = image.height - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        if (image.bitsPerPixel == 8) {
            for (int x = 0; x < image.width; ++x)
                out.push_back(image.At(x, y));
        } else {
            for (int x = 0; x < image.width; x += 2) {
                const std::uint8_t high = image.At(x, y) & 0x0F;
                const std::uint8_t low = x + 1 < image.width ? image.At(x + 1, y) & 0x0F : 0;
                out.push_back(static_cast<std::uint8_t>(high << 4 | low));
            }
        }
        while (out.size() - rowStart < rowBytes)
            out.push_back(0);
    }
    return out;
}

}  // namespace spades::surfaces
