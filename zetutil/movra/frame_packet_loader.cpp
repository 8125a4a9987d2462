#include "frame_packet_loader.h"

#include "frame_index.h"

namespace zet {

void loadFramePacket(MovraReader& reader, std::uint32_t frame) {
  const std::uint32_t offset = packetOffset(reader.frame_offsets[frame - 1]);
  reader.frame_bytes = packetBytes(reader.frame_offsets, frame - 1);
  if (reader.preloaded) {
    reader.frame_buffer = reader.preloaded + (offset - packetOffset(reader.frame_offsets[0]));
  } else if (reader.source.readFrame(offset, reader.frame_buffer, reader.frame_bytes) != reader.frame_bytes) {
    reader.failed = 1;
  }
  reader.current_frame = frame;
}

void topUpReadAhead(MovraReader& reader) {
  if (!reader.preloaded && reader.source.wantsTopUp()) reader.source.topUp();
}

}  // namespace zet
