// Decoding of received configuration datagrams.
#include "ReplyDecoder.h"

#include "ByteReader.h"

static void ReadHeader(CByteReader& reader, PacketHeader& header) {
    header.wType = reader.ReadU16();
    header.wStatus = reader.ReadI16();
    header.wSequence = reader.ReadU16();
    header.wLength = reader.ReadU16();
}

bool DecodeHeader(const uint8_t* pData, size_t nLength, PacketHeader& header) {
    CByteReader reader(pData, nLength);
    ReadHeader(reader, header);
    return reader.Ok();
}

bool DecodeInfoReply(const uint8_t* pData, size_t nLength, PacketHeader& header, DeviceInfo& info) {
    CByteReader reader(pData, nLength);
    ReadHeader(reader, header);
    reader.ReadBytes(&info, sizeof info);
    if (!reader.Ok()) info = DeviceInfo{};
    return reader.Ok();
}
