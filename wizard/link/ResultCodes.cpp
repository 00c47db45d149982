// Result code to message table.
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

const StringTextRow g_linkStrings[] = {
    {IDS_COMM_ERROR, "communication error!\nPlease check your TCP/IP setting "},
    {IDS_DEVICE_NO_RESPONSE, "Device no response"},
    {IDS_SET_IP_FAIL, "Set IP fail"},
    {IDS_SET_NETWORK_FAIL, "Set Network fail"},
    {IDS_SET_SERVER_NAME_FAIL, "Set Server Name fail"},
    {IDS_SET_DEFAULT_SERVER_NAME_FAIL, "Set Default Server Name fail"},
    {IDS_SET_VERSION_FAIL, "Set Version fail"},
    {IDS_SET_DATE_FAIL, "Set Date fail"},
    {IDS_SET_TIME_FAIL, "Set Time fail"},
    {IDS_SET_DHCP_SERVER_FLAG_FAIL, "Set DHCP server enable Flag fail"},
    {IDS_SET_DHCP_START_IP_FAIL, "Set DHCP start ip fail"},
    {IDS_SET_DHCP_END_IP_FAIL, "Set DHCP end ip fail"},
    {IDS_SET_MS_NETWORKING_FAIL, "Set Microsoft Networking fail"},
    {IDS_SET_DOMAIN_NAME_FAIL, "Set Domain Name fail"},
    {IDS_SET_ZONE_NAME_FAIL, "Set Zone Name fail"},
    {IDS_SET_IP_STATUS_FAIL, "Set IP Status fail"},
    {IDS_SET_DESCRIPTION_FAIL, "Set Description fail"},
    {IDS_SCANNING_DISK, "Someone is scanning disk now"},
    {IDS_GET_MAC_ADDRESS_FAIL, "Get MAC address fail"},
    {IDS_GET_IP_FAIL, "Get IP fail"},
    {IDS_GET_NETWORK_FAIL, "Get Network fail"},
    {IDS_GET_GATEWAY_FAIL, "Get Gateway fail"},
    {IDS_GET_SERVER_NAME_FAIL, "Get Server Name fail"},
    {IDS_GET_DEFAULT_SERVER_NAME_FAIL, "Get Default Server Name fail"},
    {IDS_GET_VERSION_FAIL, "Get Version fail"},
    {IDS_GET_DATE_FAIL, "Get Date fail"},
    {IDS_GET_TIME_FAIL, "Get Time fail"},
    {IDS_GET_DHCP_SERVER_FLAG_FAIL, "Get DHCP server enable Flag fail"},
    {IDS_GET_DHCP_START_IP_FAIL, "Get DHCP start ip fail"},
    {IDS_GET_DHCP_END_IP_FAIL, "Get DHCP end ip fail"},
    {IDS_GET_MS_NETWORKING_FAIL, "Get Microsoft Networking fail"},
    {IDS_GET_DOMAIN_NAME_FAIL, "Get Domain Name fail"},
    {IDS_GET_ZONE_FAIL, "Get Zone fail"},
    {IDS_GET_IP_STATUS_FAIL, "Get IP Status fail"},
    {IDS_GET_DESCRIPTION_FAIL, "Get Description fail"},
    {IDS_GET_DNS_SERVER1_FAIL, "get DNS server 1 fail"},
    {IDS_GET_DNS_SERVER2_FAIL, "get DNS server 2 fail"},
    {IDS_GET_DNS_SERVER3_FAIL, "get DNS server 3 fail"},
    {IDS_GET_MSN_ENABLE_FAIL, "get msn_enable fail"},
    {IDS_GET_CODE_PAGE_FAIL, "get code_page fail"},
    {IDS_GET_PRINTER_NAME_FAIL, "get printer_name fail"},
    {IDS_GET_APPLE_ENABLE_FAIL, "get apple_enable fail"},
    {IDS_GET_MAC_PRINTER_TYPE_FAIL, "get mac_printer_type fail"},
    {IDS_GET_PRINTER_CLIENT_FAIL, "get printer_client fail"},
    {IDS_SET_PASSWORD_FAIL, "Set password fail"},
    {IDS_WRONG_PASSWORD, "Wrong password"},
    {IDS_SET_TCPIP_FAIL, "set TCP/IP fail"},
    {IDS_SET_HOSTNAME_FAIL, "set hostname fail"},
    {IDS_SET_DHCP_SERVER_FAIL, "set dhcp server fail"},
    {IDS_SET_NETATALK_FAIL, "set netatalk fail"},
    {IDS_SET_MS_NETWORK_FAIL, "set microsoft network fail"},
    {IDS_OTHER_ERROR, "Other error"},
};
const size_t g_linkStringCount = sizeof g_linkStrings / sizeof g_linkStrings[0];

unsigned ResultMessageId(int nCode)
{
    for (const ResultCodeRow& row : g_resultCodes)
        if (row.nCode == nCode)
            return row.nStringId;
    return IDS_OTHER_ERROR;
}

const char* LinkStringText(unsigned nStringId)
{
    for (const StringTextRow& row : g_linkStrings)
        if (row.nStringId == nStringId)
            return row.pszText;
    return nullptr;
}
