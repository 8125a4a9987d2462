// LogString: appends a text to a log file.
#include <cstring>

#include "bit_file.h"
#include "zetutil.h"

extern "C" ZET_EXPORT void ZET_CALL LogString(const char* fileName, const char* text) {
  if (!fileName || !text) return;
  ZetFileRecord* log = zet::fileOpen(1024, fileName, zet::kFileOpenReadWrite);
  if (log) {
    zet::fileSetPos(log, zet::fileSize(log));
  } else {
    log = zet::fileCreate(1024, fileName, false);
  }
  if (!log) return;
  for (std::size_t rest = std::strlen(text); rest > 0;) {
    auto piece = static_cast<std::uint32_t>(rest < 0x80000000u ? rest : 0x80000000u);
    if (zet::filePut(log, text, piece) != piece) break;
    text += piece;
    rest -= piece;
  }
  zet::fileClose(log);
}
