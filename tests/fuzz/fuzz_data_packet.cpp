// Data packets (the .cds files of the host folder): whatever the bytes, the reader gives a
// packet or a PacketFileError, and a packet it gives loads into a dataset and is written
// back and read again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/dataset.h"
#include "base/packet_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace recebimento::base;
  DataPacket packet;
  try {
    packet = ParsePacketXml(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.cds");
  } catch (const PacketFileError&) {
    return 0;
  }
  Dataset ds("cdsFuzz");
  try {
    ds.SetData(packet);
  } catch (const DatasetError&) {
    return 0;  // a packet the dataset refuses (a field without a name) is refused clearly
  }
  std::string xml;
  try {
    xml = PacketToXml(ds.Data());
  } catch (const PacketFileError&) {
    return 0;  // a value that cannot be written (not a finite number) is refused clearly
  }
  // What was written reads back as the same data.
  if (ParsePacketXml(xml, "again.cds").rows.size() != packet.rows.size()) std::abort();
  return 0;
}
