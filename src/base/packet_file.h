#pragma once
// ".cds" files in the XML data-packet format of client datasets:
//   <?xml version="1.0" standalone="yes"?><DATAPACKET Version="2.0"><METADATA><FIELDS>
//   <FIELD attrname="CDTIPORECE" fieldtype="string" WIDTH="3"/>...</FIELDS><PARAMS/>
//   </METADATA><ROWDATA><ROW CDTIPORECE="001" .../></ROWDATA></DATAPACKET>
// A missing ROW attribute is a Null value. Files are written atomically.
#include <stdexcept>
#include <string>
#include <string_view>

#include "base/data_packet.h"

namespace recebimento::base {

// The message names the file (or source) and what is wrong with it.
class PacketFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A data packet file read and parsed; an unchanged file is not parsed again.
DataPacket ReadPacketFile(const std::string& path);
// The text of a data packet file, read whole (PacketFileError naming the file otherwise).
std::string ReadPacketText(const std::string& path);
void WritePacketFile(const std::string& path, const DataPacket& packet);

// The same format in memory; `source` names the text in error messages.
DataPacket ParsePacketXml(std::string_view xml, const std::string& source);
std::string PacketToXml(const DataPacket& packet);

}  // namespace recebimento::base
