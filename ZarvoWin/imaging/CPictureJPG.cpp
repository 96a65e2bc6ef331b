#include "CPictureJPG.h"

#include "CPicFile.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>

extern "C" {
#include <jpeglib.h>
#include <jerror.h>
}

// libjpeg reports a fatal error by calling the error manager's exit routine,
// which must not return. Ours keeps the message and jumps back to Decode,
// which destroys the decompressor. Only plain C data lives in the frames that
// the jump leaves (libjpeg's own and the source manager's), so nothing that
// needs a destructor is skipped.

namespace {

constexpr size_t InputBufferSize = 4096;

struct JpegErrorTrap
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char text[JMSG_LENGTH_MAX];
};

extern "C" void leaveOnError(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<JpegErrorTrap *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->text);
    std::longjmp(err->jump, 1);
}

// A progressive picture is decoded again by every scan, over every block of
// the components the scan holds, however few bytes the scan has: a small
// file of many scans declaring a large picture would keep the decoder busy
// for minutes. So the blocks the scans go over are counted, and a file is
// refused once they pass a few passes over the whole picture plus an amount
// in proportion to the file: photographs carry bytes for every block of
// every scan and stay far below it, and the free passes cover the scans of
// flat pictures that cost next to nothing. Real files have a few dozen scans
// at most.
constexpr int MaxScans = 500;
constexpr uint64_t FreePassesOverThePicture = 4;
constexpr uint64_t BlocksPerFileByte = 32;

struct ScanBudget
{
    jpeg_progress_mgr pub; // first: the library hands this back
    uint64_t allowedBlocks;
    uint64_t *blocksRead;  // outside the frame the error jump leaves
    int lastScan;
};

extern "C" void checkScans(j_common_ptr cinfo)
{
    auto *d = reinterpret_cast<j_decompress_ptr>(cinfo);
    auto *budget = reinterpret_cast<ScanBudget *>(cinfo->progress);
    if (!d->is_decompressor || d->input_scan_number == budget->lastScan)
        return;
    budget->lastScan = d->input_scan_number;
    auto *err = reinterpret_cast<JpegErrorTrap *>(cinfo->err);
    if (d->input_scan_number > MaxScans) {
        std::snprintf(err->text, sizeof err->text, "JPEG: more than %d scans", MaxScans);
        std::longjmp(err->jump, 1);
    }
    uint64_t blocks = 0;
    for (int i = 0; i < d->comps_in_scan && i < MAX_COMPS_IN_SCAN; ++i) {
        const jpeg_component_info *c = d->cur_comp_info[i];
        if (c)
            blocks += uint64_t(c->width_in_blocks) * c->height_in_blocks;
    }
    if (*budget->blocksRead + blocks > budget->allowedBlocks) {
        std::snprintf(err->text, sizeof err->text, "JPEG: too many scans for the size of the file");
        std::longjmp(err->jump, 1);
    }
    *budget->blocksRead += blocks;
}

// Blocks of coefficients the library keeps for a picture read in several
// scans: each component's blocks, rounded up to whole groups of its sampling.
uint64_t coefficientBlocks(const jpeg_decompress_struct *cinfo)
{
    uint64_t blocks = 0;
    for (int ci = 0; ci < cinfo->num_components; ++ci) {
        const jpeg_component_info &c = cinfo->comp_info[ci];
        const uint64_t h = c.h_samp_factor > 0 ? uint64_t(c.h_samp_factor) : 1;
        const uint64_t v = c.v_samp_factor > 0 ? uint64_t(c.v_samp_factor) : 1;
        blocks += (uint64_t(c.width_in_blocks) + h - 1) / h * h * ((uint64_t(c.height_in_blocks) + v - 1) / v * v);
    }
    return blocks;
}

// Warnings (a file cut short, damaged data) are not printed.
extern "C" void ignoreWarning(j_common_ptr)
{
}

struct PictureFileSource
{
    jpeg_source_mgr pub;
    CPicFile *file;
    JOCTET *buffer;
    bool startOfFile;
};

extern "C" void startSource(j_decompress_ptr cinfo)
{
    reinterpret_cast<PictureFileSource *>(cinfo->src)->startOfFile = true;
}

extern "C" boolean refillSource(j_decompress_ptr cinfo)
{
    auto *src = reinterpret_cast<PictureFileSource *>(cinfo->src);
    size_t n = src->file->Read(src->buffer, 1, InputBufferSize);
    if (n == 0) {
        if (src->startOfFile)
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        // A file cut short: warn, then end the image where the data ends.
        WARNMS(cinfo, JWRN_JPEG_EOF);
        src->buffer[0] = JOCTET(0xFF);
        src->buffer[1] = JOCTET(JPEG_EOI);
        n = 2;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = n;
    src->startOfFile = false;
    return TRUE;
}

extern "C" void skipSourceBytes(j_decompress_ptr cinfo, long count)
{
    if (count <= 0)
        return;
    auto *src = reinterpret_cast<PictureFileSource *>(cinfo->src);
    size_t left = size_t(count);
    while (left > src->pub.bytes_in_buffer) {
        left -= src->pub.bytes_in_buffer;
        refillSource(cinfo);
    }
    src->pub.next_input_byte += left;
    src->pub.bytes_in_buffer -= left;
}

extern "C" void endSource(j_decompress_ptr)
{
}

uint64_t rowBytes(uint64_t width, uint32_t bpp)
{
    return ((width * bpp + 31) / 32) * 4;
}

// The same limit as CPicture::Create, computed before anything is allocated.
bool withinLimit(uint64_t width, uint64_t height, uint32_t bpp)
{
    return width > 0 && height > 0 && width * height <= CPicture::PixelMemoryLimit * 8
           && rowBytes(width, bpp) * height <= CPicture::PixelMemoryLimit;
}

uint32_t normalisedBpp(uint32_t components)
{
    return components == 1 ? 8 : 24;
}

} // namespace

CPictureJPG::CPictureJPG()
    : CPicture(TypeJPG)
{
}

bool CPictureJPG::Decode(CPicFile *file)
{
    if (!file) {
        SetErrorText("null file handler");
        return false;
    }
    jpeg_decompress_struct cinfo;
    JpegErrorTrap err;
    std::memset(&cinfo, 0, sizeof(cinfo));
    std::memset(&err, 0, sizeof(err));
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = leaveOnError;
    err.pub.output_message = ignoreWarning;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        SetErrorText(err.text);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    m_blocksRead = 0;
    ScanBudget budget;
    std::memset(&budget, 0, sizeof(budget));
    budget.pub.progress_monitor = checkScans;
    budget.allowedBlocks = UINT64_MAX; // until the header tells the picture's size
    budget.blocksRead = &m_blocksRead;
    cinfo.progress = &budget.pub;
    const Outcome outcome = ReadPicture(&cinfo, file);
    jpeg_destroy_decompress(&cinfo);
    return outcome != Outcome::Failed;
}

CPictureJPG::Outcome CPictureJPG::ReadPicture(jpeg_decompress_struct *cinfo, CPicFile *file)
{
    const int64_t origin = file->Tell();
    const int64_t size = file->Size();
    const uint64_t fileBytes = (origin >= 0 && size > origin) ? uint64_t(size - origin) : 0;

    // Source manager and its buffer live in the decompressor's permanent pool,
    // freed with it on every path.
    auto *src = static_cast<PictureFileSource *>(
        (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(PictureFileSource)));
    src->buffer = static_cast<JOCTET *>(
        (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, InputBufferSize));
    src->file = file;
    src->startOfFile = true;
    src->pub.init_source = startSource;
    src->pub.fill_input_buffer = refillSource;
    src->pub.skip_input_data = skipSourceBytes;
    src->pub.resync_to_restart = jpeg_resync_to_restart;
    src->pub.term_source = endSource;
    src->pub.bytes_in_buffer = 0;
    src->pub.next_input_byte = nullptr;
    cinfo->src = &src->pub;

    jpeg_read_header(cinfo, TRUE);

    // Only greyscale, three-component colour and CMYK are pictures we can hold.
    if (cinfo->num_components != 1 && cinfo->num_components != 3 && cinfo->num_components != 4) {
        SetErrorText("JPEG: unsupported number of components");
        return Outcome::Failed;
    }

    const uint32_t options = GetDecoderOptions(TypeJPG);
    if (options & OptionGrey)
        cinfo->out_color_space = JCS_GRAYSCALE;
    if (options & OptionQuantise) {
        cinfo->quantize_colors = TRUE;
        int colours = int(m_settings.jpegQuality);
        cinfo->desired_number_of_colors = colours < 8 ? 8 : colours > 256 ? 256 : colours;
    }
    if (m_settings.jpegScaleDenominator > 0) {
        cinfo->scale_num = 1;
        cinfo->scale_denom = m_settings.jpegScaleDenominator;
    }
    // Colour straight into the picture's blue-green-red order.
    if (cinfo->out_color_space == JCS_RGB && !cinfo->quantize_colors)
        cinfo->out_color_space = JCS_EXT_BGR;
    jpeg_calc_output_dimensions(cinfo);

    if (m_settings.cancelRequest == SizeOnlyRequest) {
        StoreSizeOnly(cinfo->output_width, cinfo->output_height, TypeJPG);
        return Outcome::SizeOnly;
    }

    const uint32_t components = uint32_t(cinfo->output_components);
    if (components != 1 && components != 3 && components != 4) {
        SetErrorText("JPEG: unsupported number of components");
        return Outcome::Failed;
    }
    // The picture's size is checked before the library allocates its own
    // buffers for it. A picture read in several scans also keeps all its
    // coefficients (128 bytes a block) until the last scan: the picture and
    // the library's memory together stay within the limit of one picture.
    if (!withinLimit(cinfo->output_width, cinfo->output_height, normalisedBpp(components))) {
        SetErrorText("PICTURE_MAX_MEMORY exceeded");
        return Outcome::Failed;
    }
    const uint64_t pictureBytes = rowBytes(cinfo->output_width, normalisedBpp(components)) * cinfo->output_height;
    const uint64_t blocks = coefficientBlocks(cinfo);
    const bool severalScans = cinfo->progressive_mode || cinfo->comps_in_scan < cinfo->num_components;
    const uint64_t libraryBytes = PixelMemoryLimit - pictureBytes;
    if (severalScans && blocks * sizeof(JBLOCK) > libraryBytes) {
        SetErrorText("PICTURE_MAX_MEMORY exceeded");
        return Outcome::Failed;
    }
    // 0 would mean no limit at all.
    cinfo->mem->max_memory_to_use = long(libraryBytes > 0 ? libraryBytes : 1);
    reinterpret_cast<ScanBudget *>(cinfo->progress)->allowedBlocks =
        FreePassesOverThePicture * blocks + BlocksPerFileByte * fileBytes;

    jpeg_start_decompress(cinfo);

    if (!Create(cinfo->output_width, cinfo->output_height, 8 * components, TypeJPG))
        return Outcome::Failed;

    // Resolution from the JFIF density.
    if (cinfo->density_unit == 1) {
        SetXDPI(cinfo->X_density);
        SetYDPI(cinfo->Y_density);
    } else if (cinfo->density_unit == 2) {
        SetXDPI(int32_t(cinfo->X_density * 2.54 + 0.5));
        SetYDPI(int32_t(cinfo->Y_density * 2.54 + 0.5));
    } else if (cinfo->density_unit == 0 && cinfo->X_density != 0 && cinfo->Y_density != 0) {
        SetYDPI(int32_t(int64_t(GetXDPI()) * cinfo->Y_density / cinfo->X_density));
    }

    if (cinfo->quantize_colors) {
        uint8_t r[256], g[256], b[256];
        const int n = cinfo->actual_number_of_colors;
        for (int i = 0; i < n && i < 256; ++i) {
            r[i] = cinfo->colormap[0][i];
            g[i] = cinfo->out_color_components > 1 ? cinfo->colormap[1][i] : r[i];
            b[i] = cinfo->out_color_components > 2 ? cinfo->colormap[2][i] : r[i];
        }
        SetPaletteFromChannels(r, g, b, uint32_t(n < 256 ? n : 256));
    } else if (components == 1) {
        MakeGreyRamp();
    }

    const JDIMENSION width = cinfo->output_width;
    const uint32_t height = GetHeight();
    if (components == 4) {
        // Inverted CMYK as stored by most writers (255 is no ink), converted
        // row by row from the library's buffer.
        JSAMPARRAY row = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                       width * components, 1);
        while (cinfo->output_scanline < cinfo->output_height) {
            if (m_settings.cancelRequest != 0) {
                SetErrorText("Cancelled");
                return Outcome::Failed;
            }
            const uint32_t y = cinfo->output_scanline;
            if (jpeg_read_scanlines(cinfo, row, 1) != 1)
                break;
            uint8_t *dst = GetRowPointer(height - 1 - y);
            const JSAMPLE *s = row[0];
            for (JDIMENSION x = 0; x < width; ++x, s += 4, dst += 3) {
                const unsigned k = s[3];
                dst[0] = uint8_t(s[2] * k / 255);
                dst[1] = uint8_t(s[1] * k / 255);
                dst[2] = uint8_t(s[0] * k / 255);
            }
        }
    } else {
        // Grey levels, palette indices and colours go straight into the
        // picture's rows, top row first; colours come out of the library in
        // the picture's blue-green-red order.
        JSAMPROW rows[16];
        while (cinfo->output_scanline < cinfo->output_height) {
            if (m_settings.cancelRequest != 0) {
                SetErrorText("Cancelled");
                return Outcome::Failed;
            }
            const uint32_t y = cinfo->output_scanline;
            const uint32_t n = std::min<uint32_t>(16, cinfo->output_height - y);
            for (uint32_t k = 0; k < n; ++k)
                rows[k] = GetRowPointer(height - 1 - (y + k));
            if (jpeg_read_scanlines(cinfo, rows, n) == 0)
                break;
        }
    }
    jpeg_finish_decompress(cinfo);
    return Outcome::Done;
}
