// movra-dump info: the header, what the reader makes of it, the track
// tables and a summary of the frame index, as JSON.
#include <cstdio>
#include <string>

#include "commands.h"
#include "frame_index.h"
#include "json_text.h"
#include "movra_track.h"
#include "open_reader.h"

namespace zet::dump {
namespace {

// Info only looks at tables: no read-ahead at open.
constexpr std::uint32_t kInfoOpenFlags = 0x08204000;

const char* codecName(std::uint32_t format) {
  if (format & zet::kTrackFft) return "fft";
  if (format & zet::kTrackDct) return "dct";
  return "none";
}

std::string magicText(std::uint32_t magic) {
  std::string text;
  for (int i = 0; i < 4; ++i) text += static_cast<char>(magic >> (8 * i) & 0xFF);
  return text;
}

const char* boolText(bool value) { return value ? "true" : "false"; }

void printTracks(const zet::MovraReader& reader) {
  std::printf("  \"tracks\": [");
  for (std::uint32_t i = 0; i < reader.tracks; ++i) {
    const std::uint32_t format = reader.track_format[i];
    std::printf("%s\n    {\"index\": %u, \"id\": %u, \"format\": %u, \"codec\": \"%s\", \"sample_rate\": %u, "
                "\"bits\": %u, \"channels\": %u, \"buffer_size\": %u, \"output_bytes\": %u}",
                i == 0 ? "" : ",", i, reader.track_id[i], format, codecName(format), format & zet::kTrackRateMask,
                format & zet::kTrack16Bit ? 16u : 8u, format & zet::kTrackStereo ? 2u : 1u,
                reader.track_buffer_size[i], zet::trackOutputBytes(reader.track_buffer_size[i], format));
  }
  std::printf("%s],\n", reader.tracks > 0 ? "\n  " : "");
}

}  // namespace

int runInfo(const char* movie) {
  const Reader reader = openReader(movie, kInfoOpenFlags);
  if (!reader) return kFailure;
  const zet::MovraHeader& header = reader->header;
  std::printf("{\n");
  std::printf("  \"file\": %s,\n", jsonString(movie).c_str());
  std::printf("  \"header\": {\"magic\": %s, \"file_size\": %u, \"frames\": %u, \"largest_frame_size\": %u, "
              "\"index_frames\": %u, \"width\": %u, \"height\": %u, \"rate_num\": %u, \"rate_div\": %u, "
              "\"video_flags\": %u, \"tracks\": %u},\n",
              jsonString(magicText(header.magic)).c_str(), header.file_size, header.frames,
              header.largest_frame_size, header.index_frames, header.width, header.height, header.rate_num,
              header.rate_div, header.video_flags, header.tracks);
  std::printf("  \"flags\": {\"grey\": %s, \"alpha\": %s, \"scale_mode\": %u, \"older_colour_layout\": %s, "
              "\"luma_prefix\": %s},\n",
              boolText(header.video_flags & zet::kVideoGrey), boolText(header.video_flags & zet::kVideoAlpha),
              (reader->flags & zet::kScaleModeMask) >> zet::kScaleModeShift,
              boolText(reader->flags & zet::kVersionOlderColourLayout),
              boolText(!(reader->flags & zet::kVersionNoLumaPrefix)));
  std::printf("  \"frame_rate\": %.6g,\n", static_cast<double>(header.rate_num) / header.rate_div);
  std::printf("  \"display\": {\"width\": %u, \"height\": %u},\n", reader->display_width, reader->display_height);
  printTracks(*reader);
  std::printf("  \"index\": {\"key_frames\": %u, \"largest_packet\": %u, \"peak_second_bytes\": %u}\n",
              zet::keyFrameCount(reader->frame_offsets, reader->frames), reader->largest_packet,
              reader->peak_second_bytes);
  std::printf("}\n");
  return 0;
}

}  // namespace zet::dump
