#include "codecs/jpeg_decompress.h"

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <new>

#include "codecs/jpeg_memory_stream.h"

// jpeglib.h expects size_t and FILE to be declared before it.
#include <jpeglib.h>

namespace lumbra {

namespace {

constexpr std::size_t kInputBufferBytes = 4096;
constexpr int kSeqBaseline = 0xC0;
constexpr int kSeqExtended = 0xC1;

// Errors leave the library through a jump back into the decoder; the
// message is never formatted or shown.
struct ErrorExit {
  jpeg_error_mgr pub;
  std::jmp_buf target;
};

void LeaveOnError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorExit*>(cinfo->err)->target, 1);
}
void IgnoreMessage(j_common_ptr, int) {}
void DropMessage(j_common_ptr) {}

// The data source: refills from the memory stream in 4096-byte portions and
// ends the data with an end-of-image marker when the bytes run out, so
// truncated files decode as far as they go.
struct StreamSource {
  jpeg_source_mgr pub;
  MemoryStream* stream;
  JOCTET buffer[kInputBufferBytes];
};

constexpr JOCTET kEndOfImage[2] = {0xFF, 0xD9};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr cinfo) {
  auto* src = reinterpret_cast<StreamSource*>(cinfo->src);
  const long n = src->stream->Read(src->buffer, 1, kInputBufferBytes);
  if (n <= 0) {
    src->pub.next_input_byte = kEndOfImage;
    src->pub.bytes_in_buffer = sizeof kEndOfImage;
  } else {
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = static_cast<std::size_t>(n);
  }
  return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
  auto* src = reinterpret_cast<StreamSource*>(cinfo->src);
  if (count <= 0) return;
  const auto n = static_cast<std::size_t>(count);
  if (n <= src->pub.bytes_in_buffer) {
    src->pub.next_input_byte += n;
    src->pub.bytes_in_buffer -= n;
    return;
  }
  src->stream->Skip(n - src->pub.bytes_in_buffer);
  src->pub.bytes_in_buffer = 0;  // the next read refills
}

// Everything one decode needs, kept outside the frame that the error exit
// jumps back into so no destructor is ever skipped.
struct Session {
  jpeg_decompress_struct cinfo{};
  ErrorExit error{};
  StreamSource source{};
  MemoryStream stream;
  std::span<const std::uint8_t> bytes;
  bool sizeOnly = false;
  std::size_t memoryLimit = 0;
  std::vector<std::uint8_t> block;

  Session(std::span<const std::uint8_t> in, bool headersOnly, std::size_t limit)
      : stream(in), bytes(in), sizeOnly(headersOnly), memoryLimit(limit) {
    cinfo.err = jpeg_std_error(&error.pub);
    error.pub.error_exit = LeaveOnError;
    error.pub.emit_message = IgnoreMessage;
    error.pub.output_message = DropMessage;
    error.pub.trace_level = 0;
  }
  ~Session() { jpeg_destroy_decompress(&cinfo); }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
};

void AttachSource(Session& s) {
  s.source.stream = &s.stream;
  s.source.pub.init_source = InitSource;
  s.source.pub.fill_input_buffer = FillInputBuffer;
  s.source.pub.skip_input_data = SkipInputData;
  s.source.pub.resync_to_restart = jpeg_resync_to_restart;
  s.source.pub.term_source = TermSource;
  s.source.pub.bytes_in_buffer = 0;
  s.source.pub.next_input_byte = nullptr;
  s.cinfo.src = &s.source.pub;
}

// The files this decoder takes: sequential Huffman-coded frames of 8-bit
// samples, a JFIF header (when present) of major version 1, and grey or
// three-component colour that converts to RGB.
bool Accepted(Session& s) {
  const jpeg_decompress_struct& c = s.cinfo;
  const int frame = JpegFrameMarker(s.bytes);
  if (frame != kSeqBaseline && frame != kSeqExtended) return false;
  if (c.progressive_mode || c.arith_code) return false;
  if (c.data_precision != 8) return false;
  if (c.saw_JFIF_marker && c.JFIF_major_version != 1) return false;
  return c.jpeg_color_space == JCS_GRAYSCALE || c.jpeg_color_space == JCS_YCbCr ||
         c.jpeg_color_space == JCS_RGB;
}

// Output selection and the quantizer choice: grey stays unquantized, colour
// is reduced to 256 colours, two-pass for YCbCr files, dithered.
void ChooseOutput(Session& s) {
  jpeg_decompress_struct& c = s.cinfo;
  if (c.jpeg_color_space == JCS_GRAYSCALE) {
    c.out_color_space = JCS_GRAYSCALE;
    c.quantize_colors = FALSE;
    return;
  }
  c.out_color_space = JCS_RGB;
  c.quantize_colors = TRUE;
  c.desired_number_of_colors = 256;
  c.two_pass_quantize = (c.num_components == 3 && c.jpeg_color_space == JCS_YCbCr) ? TRUE : FALSE;
  c.dither_mode = JDITHER_FS;
}

// Writes the colour table: the quantizer's map for colour output, the ramp
// for grey.
bool WriteColourTable(Session& s, BmpWriter& writer) {
  const jpeg_decompress_struct& c = s.cinfo;
  if (!c.quantize_colors) return writer.PutColourMap(256, nullptr);
  ColourMap map;
  map.red = c.colormap[0];
  map.green = c.colormap[c.out_color_components > 1 ? 1 : 0];
  map.blue = c.colormap[c.out_color_components > 2 ? 2 : 0];
  return writer.PutColourMap(c.actual_number_of_colors, &map);
}

// The decode itself. Contains no object with a destructor: the library's
// error exit jumps back to its start.
bool Decompress(Session& s) {
  if (setjmp(s.error.target) != 0) return false;

  jpeg_create_decompress(&s.cinfo);
  s.cinfo.mem->max_memory_to_use =
      static_cast<long>(std::min<std::size_t>(s.memoryLimit, LONG_MAX));
  AttachSource(s);
  jpeg_read_header(&s.cinfo, TRUE);
  if (!Accepted(s)) return false;
  ChooseOutput(s);
  jpeg_calc_output_dimensions(&s.cinfo);

  const auto geometry = BmpGeometryFor(s.cinfo.output_width, s.cinfo.output_height, s.memoryLimit);
  if (!geometry) return false;

  if (s.sizeOnly) {
    s.block.assign(kBmpHeaderBytes + kBmpColourTableBytes, 0);
    BmpWriter writer(s.block, *geometry);
    writer.StartOutput();
    if (!s.cinfo.quantize_colors) writer.PutColourMap(256, nullptr);
    return true;
  }

  // Two-pass quantization reads the whole image here to choose its colours.
  jpeg_start_decompress(&s.cinfo);
  s.block.assign(geometry->blockBytes, 0);
  BmpWriter writer(s.block, *geometry);
  writer.StartOutput();
  if (!WriteColourTable(s, writer)) return false;

  // Rows go straight to their bottom-up places in the block.
  constexpr int kRowsPerCall = 16;
  JSAMPROW rows[kRowsPerCall];
  while (s.cinfo.output_scanline < s.cinfo.output_height) {
    const auto first = static_cast<std::int32_t>(s.cinfo.output_scanline);
    const auto left = static_cast<std::int32_t>(s.cinfo.output_height) - first;
    const int count = left < kRowsPerCall ? left : kRowsPerCall;
    for (int i = 0; i < count; ++i) rows[i] = writer.Row(first + i);
    if (jpeg_read_scanlines(&s.cinfo, rows, static_cast<JDIMENSION>(count)) == 0) return false;
  }
  jpeg_finish_decompress(&s.cinfo);
  return true;
}

}  // namespace

bool IsJpegStart(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8;
}

int JpegFrameMarker(std::span<const std::uint8_t> bytes) {
  if (!IsJpegStart(bytes)) return -1;
  std::size_t at = 2;
  const std::size_t size = bytes.size();
  for (;;) {
    // Like the library, skip anything up to the next FF and any fill bytes.
    while (at < size && bytes[at] != 0xFF) ++at;
    while (at < size && bytes[at] == 0xFF) ++at;
    if (at >= size) return -1;
    const int marker = bytes[at++];
    if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
      return marker;
    if (marker == 0xD9 || marker == 0xDA || size - at < 2) return -1;
    const std::size_t length = static_cast<std::size_t>(bytes[at] << 8 | bytes[at + 1]);
    if (length < 2) return -1;
    at += length < size - at ? length : size - at;
  }
}

std::optional<std::vector<std::uint8_t>> DecodeJpegImage(std::span<const std::uint8_t> bytes,
                                                         bool sizeOnly, std::size_t memoryLimit) {
  if (!IsJpegStart(bytes)) return std::nullopt;
  try {
    Session session(bytes, sizeOnly, memoryLimit);
    if (!Decompress(session)) return std::nullopt;
    return std::move(session.block);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace lumbra
