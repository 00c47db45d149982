// Result code to message table; the texts are the resource script's string table.
#include "ResultCodes.h"

#include "../res/resource.h"

const ResultCodeRow g_resultCodes[] = {
    {-101, IDS_SET_IP_FAIL},
    {-102, IDS_SET_NETWORK_FAIL},
    {-103, IDS_SET_NETWORK_FAIL},
    {-104, IDS_SET_SERVER_NAME_FAIL},
    {-105, IDS_SET_DEFAULT_SERVER_NAME_FAIL},
    {-106, IDS_SET_VERSION_FAIL},
    {-107, IDS_SET_DATE_FAIL},
    {-108, IDS_SET_TIME_FAIL},
    {-109, IDS_SET_DHCP_SERVER_FLAG_FAIL},
    {-110, IDS_SET_DHCP_START_IP_FAIL},
    {-111, IDS_SET_DHCP_END_IP_FAIL},
    {-112, IDS_SET_MS_NETWORKING_FAIL},
    {-113, IDS_SET_DOMAIN_NAME_FAIL},
    {-114, IDS_SET_ZONE_NAME_FAIL},
    {-115, IDS_SET_IP_STATUS_FAIL},
    {-116, IDS_SET_DESCRIPTION_FAIL},
    {-117, IDS_SCANNING_DISK},
    {-201, IDS_GET_MAC_ADDRESS_FAIL},
    {-202, IDS_GET_IP_FAIL},
    {-203, IDS_GET_NETWORK_FAIL},
    {-204, IDS_GET_GATEWAY_FAIL},
    {-205, IDS_GET_SERVER_NAME_FAIL},
    {-206, IDS_GET_DEFAULT_SERVER_NAME_FAIL},
    {-207, IDS_GET_VERSION_FAIL},
    {-208, IDS_GET_DATE_FAIL},
    {-209, IDS_GET_TIME_FAIL},
    {-210, IDS_GET_DHCP_SERVER_FLAG_FAIL},
    {-211, IDS_GET_DHCP_START_IP_FAIL},
    {-212, IDS_GET_DHCP_END_IP_FAIL},
    {-213, IDS_GET_MS_NETWORKING_FAIL},
    {-214, IDS_GET_DOMAIN_NAME_FAIL},
    {-215, IDS_GET_ZONE_FAIL},
    {-216, IDS_GET_IP_STATUS_FAIL},
    {-217, IDS_GET_DESCRIPTION_FAIL},
    {-218, IDS_GET_DNS_SERVER1_FAIL},
    {-219, IDS_GET_DNS_SERVER2_FAIL},
    {-220, IDS_GET_DNS_SERVER3_FAIL},
    {-221, IDS_GET_MSN_ENABLE_FAIL},
    {-222, IDS_GET_CODE_PAGE_FAIL},
    {-223, IDS_GET_PRINTER_NAME_FAIL},
    {-224, IDS_GET_APPLE_ENABLE_FAIL},
    {-225, IDS_GET_MAC_PRINTER_TYPE_FAIL},
    {-226, IDS_GET_PRINTER_CLIENT_FAIL},
    {-304, IDS_SET_PASSWORD_FAIL},
    {-305, IDS_WRONG_PASSWORD},
    {-310, IDS_SET_TCPIP_FAIL},
    {-311, IDS_SET_HOSTNAME_FAIL},
    {-312, IDS_SET_DHCP_SERVER_FAIL},
    {-313, IDS_SET_NETATALK_FAIL},
    {-314, IDS_SET_MS_NETWORK_FAIL},
};
const size_t g_resultCodeCount = sizeof g_resultCodes / sizeof g_resultCodes[0];

unsigned ResultMessageId(int nCode) {
    for (const ResultCodeRow& row : g_resultCodes)
        if (row.nCode == nCode) return row.nStringId;
    return IDS_OTHER_ERROR;
}
