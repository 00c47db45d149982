// The receivers' fix-ups of an info reply, the acceptance tests of each transaction, and the receivers
// that put decoding, acceptance and fix-ups together on received bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "../ReceiverRules.h"
#include "../ReplyReceivers.h"

namespace {

constexpr uint32_t Addr(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    return static_cast<uint32_t>(a) | (static_cast<uint32_t>(b) << 8) | (static_cast<uint32_t>(c) << 16) |
           (static_cast<uint32_t>(d) << 24);
}

DeviceInfo Filled(uint8_t byte) {
    DeviceInfo info;
    memset(&info, byte, sizeof info);
    return info;
}

const uint8_t* Bytes(const DeviceInfo& info) {
    return reinterpret_cast<const uint8_t*>(&info);
}

TEST(ReceiverRules, SearchTerminatesTheTextFieldsAndNothingElse) {
    DeviceInfo info = Filled('A');
    ApplyReceiverRules(info, Addr(198, 18, 1, 10), InfoReceiver::Search);
    const uint8_t* p = Bytes(info);
    for (size_t i = 0; i < sizeof info; ++i) {
        bool terminator = i == 19 || i == 40 || i == 89 || i == 100 || i == 109 || i == 148;
        bool address = i >= 111 && i <= 114;
        if (terminator)
            EXPECT_EQ(p[i], 0) << i;
        else if (!address)
            EXPECT_EQ(p[i], 'A') << i;  // 181 and the reported address included
    }
}

TEST(ReceiverRules, DeviceReadAlsoTerminatesAuxNameAndKeepsTheReportedAddress) {
    DeviceInfo info = Filled('B');
    const uint8_t reported[4] = {0, 0, 0, 0};
    memcpy(info.settings.abIpAddress, reported, 4);
    ApplyReceiverRules(info, Addr(192, 168, 1, 20), InfoReceiver::DeviceRead);
    const uint8_t* p = Bytes(info);
    for (size_t i : {19, 40, 89, 100, 109, 148, 181}) EXPECT_EQ(p[i], 0) << i;
    EXPECT_EQ(p[180], 'B');
    EXPECT_EQ(p[182], 'B');
    const uint8_t expectIp[4] = {192, 168, 1, 20};
    EXPECT_EQ(memcmp(p + 111, expectIp, 4), 0);
    EXPECT_EQ(memcmp(p + 211, reported, 4), 0);
    EXPECT_EQ(p[215], 'B');
}

TEST(ReceiverRules, AddressIsTheSendersWhateverTheApplianceWrote) {
    DeviceInfo info{};
    const uint8_t claimed[4] = {10, 9, 8, 7};
    memcpy(info.settings.abIpAddress, claimed, 4);
    ApplyReceiverRules(info, Addr(198, 18, 2, 10), InfoReceiver::Search);
    const uint8_t expect[4] = {198, 18, 2, 10};
    EXPECT_EQ(memcmp(info.settings.abIpAddress, expect, 4), 0);
    EXPECT_EQ(info.settings.abReportedAddress[0], 0);  // only the device read keeps it
}

TEST(ReceiverRules, FifteenCharacterServerNameIsCutTo14) {
    DeviceInfo info{};
    memcpy(info.settings.szServerName, "ABCDEFGHIJKLMNO", 15);
    ApplyReceiverRules(info, 0, InfoReceiver::Search);
    EXPECT_STREQ(info.settings.szServerName, "ABCDEFGHIJKLMN");
}

PacketHeader Header(uint16_t type, int16_t status, uint16_t seq) {
    return PacketHeader{type, status, seq, 0};
}

TEST(Acceptance, SearchReply) {
    DeviceInfo info{};
    EXPECT_TRUE(IsAcceptedSearchReply(Header(16, 0, 77), info, 77));
    EXPECT_FALSE(IsAcceptedSearchReply(Header(17, 0, 77), info, 77));
    EXPECT_FALSE(IsAcceptedSearchReply(Header(16, 0, 76), info, 77));
    EXPECT_FALSE(IsAcceptedSearchReply(Header(16, -101, 77), info, 77));
    EXPECT_FALSE(IsAcceptedSearchReply(Header(16, 5, 77), info, 77));
    info.wState = 1;
    EXPECT_FALSE(IsAcceptedSearchReply(Header(16, 0, 77), info, 77));
    info.wState = 2;
    EXPECT_TRUE(IsAcceptedSearchReply(Header(16, 0, 77), info, 77));
}

TEST(Acceptance, DeviceReadReplyNeedsTheChosenMac) {
    DeviceInfo info{};
    const uint8_t mac[6] = {1, 2, 3, 4, 5, 6};
    memcpy(info.settings.abMac, mac, 6);
    EXPECT_TRUE(IsAcceptedDeviceReadReply(Header(16, 0, 9), info, 9, mac));
    info.wState = 1;  // the device read does not look at the state
    EXPECT_TRUE(IsAcceptedDeviceReadReply(Header(16, 0, 9), info, 9, mac));
    EXPECT_FALSE(IsAcceptedDeviceReadReply(Header(16, -1, 9), info, 9, mac));
    EXPECT_FALSE(IsAcceptedDeviceReadReply(Header(16, 0, 8), info, 9, mac));
    info.settings.abMac[5] = 7;
    EXPECT_FALSE(IsAcceptedDeviceReadReply(Header(16, 0, 9), info, 9, mac));
}

TEST(Acceptance, SetConfigReplyChecksTypeAndSequenceOnly) {
    EXPECT_TRUE(IsAcceptedSetConfigReply(Header(17, -101, 500), 500, 17));
    EXPECT_TRUE(IsAcceptedSetConfigReply(Header(17, 0, 500), 500, 17));
    EXPECT_FALSE(IsAcceptedSetConfigReply(Header(16, 0, 500), 500, 17));
    EXPECT_FALSE(IsAcceptedSetConfigReply(Header(17, 0, 501), 500, 17));
}

TEST(Acceptance, PasswordReplyMustComeFromTheAppliance) {
    const uint32_t dev = Addr(198, 18, 1, 10), other = Addr(198, 18, 1, 11);
    EXPECT_TRUE(IsAcceptedPasswordReply(Header(19, -305, 42), dev, dev, 42, 19));
    EXPECT_FALSE(IsAcceptedPasswordReply(Header(19, 0, 42), other, dev, 42, 19));
    EXPECT_FALSE(IsAcceptedPasswordReply(Header(18, 0, 42), dev, dev, 42, 19));
    EXPECT_FALSE(IsAcceptedPasswordReply(Header(19, 0, 43), dev, dev, 42, 19));
}

// 0 marks a finished transaction; a datagram carrying 0 must not pass as its answer.
TEST(Acceptance, FinishedTransactionAcceptsNothingEvenSequenceZero) {
    DeviceInfo info{};
    const uint8_t mac[6] = {};
    EXPECT_FALSE(IsAcceptedSearchReply(Header(16, 0, 0), info, 0));
    EXPECT_FALSE(IsAcceptedDeviceReadReply(Header(16, 0, 0), info, 0, mac));
    EXPECT_FALSE(IsAcceptedSetConfigReply(Header(17, 0, 0), 0, 17));
    EXPECT_FALSE(IsAcceptedPasswordReply(Header(19, 0, 0), 5, 5, 0, 19));
}

// A received datagram as bytes: header, then the info record when given.
std::vector<uint8_t> Datagram(uint16_t wType, int16_t nStatus, uint16_t wSequence, const DeviceInfo* pInfo) {
    PacketHeader header = Header(wType, nStatus, wSequence);
    std::vector<uint8_t> bytes(sizeof header);
    memcpy(bytes.data(), &header, sizeof header);
    if (pInfo) bytes.insert(bytes.end(), Bytes(*pInfo), Bytes(*pInfo) + sizeof *pInfo);
    return bytes;
}

TEST(Receivers, InfoRepliesAreDecodedCheckedAndFixedUp) {
    const uint8_t mac[6] = {1, 2, 3, 4, 5, 6};
    const uint32_t sender = Addr(198, 18, 1, 10);
    DeviceInfo sent = Filled('C');
    sent.wState = 0;
    memcpy(sent.settings.abMac, mac, 6);
    const uint8_t reported[4] = {10, 0, 0, 9};
    memcpy(sent.settings.abIpAddress, reported, 4);
    const std::vector<uint8_t> reply = Datagram(16, 0, 31, &sent);

    DeviceInfo read;
    ASSERT_TRUE(ReceiveDeviceReadReply(reply.data(), reply.size(), 31, mac, sender, read));
    EXPECT_EQ(memcmp(read.settings.abIpAddress, &sender, 4), 0);
    EXPECT_EQ(memcmp(read.settings.abReportedAddress, reported, 4), 0);
    EXPECT_EQ(read.settings.szAuxName[sizeof read.settings.szAuxName - 1], 0);
    const uint8_t otherMac[6] = {1, 2, 3, 4, 5, 7};
    EXPECT_FALSE(ReceiveDeviceReadReply(reply.data(), reply.size(), 31, otherMac, sender, read));
    EXPECT_FALSE(ReceiveDeviceReadReply(reply.data(), reply.size(), 32, mac, sender, read));
    EXPECT_FALSE(ReceiveDeviceReadReply(reply.data(), PACKET_HEADER_SIZE - 1, 31, mac, sender, read));

    DeviceInfo found;
    ASSERT_TRUE(ReceiveSearchReply(reply.data(), reply.size(), 31, sender, found));
    EXPECT_EQ(memcmp(found.settings.abIpAddress, &sender, 4), 0);
    EXPECT_EQ(found.settings.szServerName[sizeof found.settings.szServerName - 1], 0);
    EXPECT_FALSE(ReceiveSearchReply(reply.data(), reply.size(), 0, sender, found));
}

TEST(Receivers, HeaderRepliesGiveTheStatusOfAnAcceptedReply) {
    const uint32_t dev = Addr(198, 18, 1, 10), other = Addr(198, 18, 1, 11);
    const std::vector<uint8_t> written = Datagram(17, -101, 500, nullptr);
    int16_t nStatus = 0;
    ASSERT_TRUE(ReceiveSetConfigReply(written.data(), written.size(), 500, 17, nStatus));
    EXPECT_EQ(nStatus, -101);
    EXPECT_FALSE(ReceiveSetConfigReply(written.data(), written.size() - 1, 500, 17, nStatus));
    EXPECT_FALSE(ReceiveSetConfigReply(written.data(), written.size(), 501, 17, nStatus));

    const std::vector<uint8_t> checked = Datagram(19, -305, 42, nullptr);
    ASSERT_TRUE(ReceivePasswordReply(checked.data(), checked.size(), dev, dev, 42, 19, nStatus));
    EXPECT_EQ(nStatus, -305);
    EXPECT_FALSE(ReceivePasswordReply(checked.data(), checked.size(), other, dev, 42, 19, nStatus));
    EXPECT_FALSE(ReceivePasswordReply(checked.data(), 3, dev, dev, 42, 19, nStatus));
}

}  // namespace
