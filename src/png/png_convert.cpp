// Pixel conversion from unfiltered PNG samples to 0xAARRGGBB words, one routine per
// colour type and sample size, chosen once per image so that the row loops never
// branch on the format. 16-bit samples keep their high byte, but transparency keys
// are compared with the whole raw sample.
#include "png/png_parts.h"

namespace png {

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

uint32_t argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return a << 24 | r << 16 | g << 8 | b; }
uint16_t sample16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

// Grey and palette images up to 8 bits go through the lookup table built below.
template <int kDepth>
void convertIndexed(const Converter& c, const uint8_t* samples, uint32_t* out, uint32_t count, uint32_t step)
{
    if constexpr (kDepth == 8) {
        for (uint32_t i = 0; i < count; ++i) out[size_t(i) * step] = c.lookup[samples[i]];
    } else {
        // Samples are packed from the most significant bits of each byte down.
        constexpr uint32_t kPerByte = 8 / kDepth;
        constexpr uint32_t kMask = (1u << kDepth) - 1;
        for (uint32_t i = 0; i < count; ++i) {
            const uint32_t shift = 8 - kDepth - (i % kPerByte) * kDepth;
            out[size_t(i) * step] = c.lookup[(samples[i / kPerByte] >> shift) & kMask];
        }
    }
}

void convertGrey16(const Converter& c, const uint8_t* samples, uint32_t* out, uint32_t count, uint32_t step)
{
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* s = samples + size_t(i) * 2;
        const uint32_t alpha = c.hasKey && sample16(s) == c.greyKey ? 0 : 0xFF;
        out[size_t(i) * step] = argb(alpha, s[0], s[0], s[0]);
    }
}

template <bool kKeyed>
void convertRgb8(const Converter& c, const uint8_t* samples, uint32_t* out, uint32_t count, uint32_t step)
{
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* s = samples + size_t(i) * 3;
        uint32_t pixel = kOpaque | uint32_t(s[0]) << 16 | uint32_t(s[1]) << 8 | s[2];
        if constexpr (kKeyed) {
            if (s[0] == c.rgbKey[0] && s[1] == c.rgbKey[1] && s[2] == c.rgbKey[2]) pixel &= 0x00FFFFFFu;
        }
        out[size_t(i) * step] = pixel;
    }
}

void convertRgb16(const Converter& c, const uint8_t* samples, uint32_t* out, uint32_t count, uint32_t step)
{
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* s = samples + size_t(i) * 6;
        const bool keyed = c.hasKey && sample16(s) == c.rgbKey[0] && sample16(s + 2) == c.rgbKey[1] &&
                           sample16(s + 4) == c.rgbKey[2];
        out[size_t(i) * step] = argb(keyed ? 0 : 0xFF, s[0], s[2], s[4]);
    }
}

// Grey with alpha and RGBA: kBytes is 1 or 2 per sample, and only the first is kept.
template <int kBytes>
void convertGreyAlpha(const Converter&, const uint8_t* samples, uint32_t* out, uint32_t count, uint32_t step)
{
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* s = samples + size_t(i) * 2 * kBytes;
        out[size_t(i) * step] = argb(s[kBytes], s[0], s[0], s[0]);
    }
}

template <int kBytes>
void convertRgba(const Converter&, const uint8_t* samples, uint32_t* out, uint32_t count, uint32_t step)
{
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* s = samples + size_t(i) * 4 * kBytes;
        out[size_t(i) * step] = argb(s[3 * kBytes], s[0], s[kBytes], s[2 * kBytes]);
    }
}

Converter::RowFunction indexedFunction(uint8_t depth)
{
    switch (depth) {
    case 1: return convertIndexed<1>;
    case 2: return convertIndexed<2>;
    case 4: return convertIndexed<4>;
    default: return convertIndexed<8>;
    }
}

void fillGreyLookup(const Parsed& parsed, Converter& c)
{
    const uint32_t depth = parsed.header.bitDepth;
    const uint32_t levels = 1u << depth;
    const uint32_t scale = 255 / (levels - 1); // 255, 85, 17 or 1: exact for these depths
    for (uint32_t sample = 0; sample < levels; ++sample) {
        const uint32_t alpha = parsed.hasTransparency && sample == parsed.greyKey ? 0 : 0xFF;
        const uint32_t grey = sample * scale;
        c.lookup[sample] = argb(alpha, grey, grey, grey);
    }
}

void fillPaletteLookup(const Parsed& parsed, Converter& c)
{
    for (uint32_t index = 0; index < 256; ++index) {
        const uint8_t* rgb = parsed.palette.data() + index * 3;
        const uint32_t alpha = parsed.hasTransparency ? parsed.alpha[index] : 0xFF;
        c.lookup[index] = argb(alpha, rgb[0], rgb[1], rgb[2]);
    }
}

} // namespace

Converter makeConverter(const Parsed& parsed)
{
    Converter c;
    c.hasKey = parsed.hasTransparency;
    c.greyKey = parsed.greyKey;
    c.rgbKey = parsed.rgbKey;
    const bool wide = parsed.header.bitDepth == 16;
    switch (parsed.header.colourType) {
    case kGrey:
        if (wide) {
            c.convertRow = convertGrey16;
        } else {
            fillGreyLookup(parsed, c);
            c.convertRow = indexedFunction(parsed.header.bitDepth);
        }
        break;
    case kPalette:
        fillPaletteLookup(parsed, c);
        c.convertRow = indexedFunction(parsed.header.bitDepth);
        break;
    case kRgb:
        if (wide) c.convertRow = convertRgb16;
        else c.convertRow = c.hasKey ? convertRgb8<true> : convertRgb8<false>;
        break;
    case kGreyAlpha: c.convertRow = wide ? convertGreyAlpha<2> : convertGreyAlpha<1>; break;
    default: c.convertRow = wide ? convertRgba<2> : convertRgba<1>; break;
    }
    return c;
}

} // namespace png
