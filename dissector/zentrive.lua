-- zentrive.lua: Wireshark (4.0 and later) dissector of the Zentrive appliance's two UDP services, the
-- configuration service on port 915 (the setup wizard's requests and the appliances' replies) and the USB-disk
-- service on port 917 (the tray utility's discovery and eject, the appliances' replies and notices).
--
-- Install: copy this file into ~/.local/lib/wireshark/plugins/ (make -C dissector install), or load it
-- for one run: tshark -X lua_script:zentrive.lua -r capture.pcap
--
-- Requests and replies are linked (zentrive.response_in, zentrive.response_to, zentrive.time); tshark needs
-- two passes (-2) to show a request's "response in".

-- The tables below are written by dissector_tables from the programs' own code; a test fails when they
-- drift. Change them there, never here.
-- BEGIN GENERATED TABLES (dissector_tables writes them from the programs' own code)
local CONFIG_PORT = 915
local HEADER_SIZE = 8
local MAX_PACKET = 1031
local PKT_GET_INFO = 16
local PKT_SET_CONFIG = 17
local PKT_CHECK_PASSWORD = 19
local config_types = {
    [0] = { name = nil, length = 0 },
    [2] = { name = nil, length = 0 },
    [16] = { name = "PKT_GET_INFO", length = 0 },
    [17] = { name = "PKT_SET_CONFIG", length = 234 },
    [18] = { name = nil, length = 21 },
    [19] = { name = "PKT_CHECK_PASSWORD", length = 21 },
    [22] = { name = nil, length = 0 },
    [23] = { name = nil, length = 1023 },
    [24] = { name = nil, length = 2 },
    [25] = { name = nil, counted = true },
}
config_types[25].count_offset = 14
config_types[25].fixed = 8
config_types[25].per_record = 160
local result_texts = {
    [-101] = "Set IP fail",
    [-102] = "Set Network fail",
    [-103] = "Set Network fail",
    [-104] = "Set Server Name fail",
    [-105] = "Set Default Server Name fail",
    [-106] = "Set Version fail",
    [-107] = "Set Date fail",
    [-108] = "Set Time fail",
    [-109] = "Set DHCP server enable Flag fail",
    [-110] = "Set DHCP start ip fail",
    [-111] = "Set DHCP end ip fail",
    [-112] = "Set Microsoft Networking fail",
    [-113] = "Set Domain Name fail",
    [-114] = "Set Zone Name fail",
    [-115] = "Set IP Status fail",
    [-116] = "Set Description fail",
    [-117] = "Someone is scanning disk now",
    [-201] = "Get MAC address fail",
    [-202] = "Get IP fail",
    [-203] = "Get Network fail",
    [-204] = "Get Gateway fail",
    [-205] = "Get Server Name fail",
    [-206] = "Get Default Server Name fail",
    [-207] = "Get Version fail",
    [-208] = "Get Date fail",
    [-209] = "Get Time fail",
    [-210] = "Get DHCP server enable Flag fail",
    [-211] = "Get DHCP start ip fail",
    [-212] = "Get DHCP end ip fail",
    [-213] = "Get Microsoft Networking fail",
    [-214] = "Get Domain Name fail",
    [-215] = "Get Zone fail",
    [-216] = "Get IP Status fail",
    [-217] = "Get Description fail",
    [-218] = "get DNS server 1 fail",
    [-219] = "get DNS server 2 fail",
    [-220] = "get DNS server 3 fail",
    [-221] = "get msn_enable fail",
    [-222] = "get code_page fail",
    [-223] = "get printer_name fail",
    [-224] = "get apple_enable fail",
    [-225] = "get mac_printer_type fail",
    [-226] = "get printer_client fail",
    [-304] = "Set password fail",
    [-305] = "Wrong password",
    [-310] = "set TCP/IP fail",
    [-311] = "set hostname fail",
    [-312] = "set dhcp server fail",
    [-313] = "set netatalk fail",
    [-314] = "set microsoft network fail",
}
local OTHER_ERROR = "Other error"
local time_zones = {
    [0] = "(GMT-12:00) Eniwetok, Kwajalein",
    [1] = "(GMT-11:00) Midway Island, Samoa",
    [2] = "(GMT-10:00) Hawaii",
    [3] = "(GMT-09:00) Alaska",
    [4] = "(GMT-08:00) Pacific Time (US & Canada); Tijuana",
    [5] = "(GMT-07:00) Arizona",
    [6] = "(GMT-07:00) Mountain Time (US & Canada)",
    [7] = "(GMT-06:00) Central Time (US & Canda)",
    [8] = "(GMT-06:00) Mexico City, Tegucigalpa",
    [9] = "(GMT-06:00) Saskatchewan",
    [10] = "(GMT-05:00) Bogota, Lima, Quito",
    [11] = "(GMT-05:00) Eastern Time (US & Canda)",
    [12] = "(GMT-05:00) Indiana (East)",
    [13] = "(GMT-04:00) Atlantic Time (Canada)",
    [14] = "(GMT-04:00) Caracas, La Paz",
    [15] = "(GMT-04:00) Santiago",
    [16] = "(GMT-03:30) Newfoundland",
    [17] = "(GMT-03:00) Brasilia",
    [18] = "(GMT-03:00) Buenos Aires, Georgetown",
    [19] = "(GMT-02:00) Mid-Atlantic",
    [20] = "(GMT-01:00) Azores, Cape Verde Is.",
    [21] = "(GMT) Casablanca, Monrovia",
    [22] = "(GMT) Greenwich Mean Time: Edinburgh, London",
    [23] = "(GMT+01:00) Amsterdam, Berlin, Bern, Rome, Vienna",
    [24] = "(GMT+01:00) Belgrade, Budapest, Ljubljana, Prague",
    [25] = "(GMT+01:00) Brussels, Copenhagen, Madrid, Paris",
    [26] = "(GMT+01:00) Sarajevo, Skopje, Sofija, Warsaw, Zagreb",
    [27] = "(GMT+02:00) Athens, Istanbul, Minsk",
    [28] = "(GMT+02:00) Bucharest",
    [29] = "(GMT+02:00) Cairo",
    [30] = "(GMT+02:00) Harare, Pretoria",
    [31] = "(GMT+02:00) Helsinki, Riga, Tallinn",
    [32] = "(GMT+02:00) Israel",
    [33] = "(GMT+03:00) Baghdad, Kuwait, Riyadh",
    [34] = "(GMT+03:00) Moscow, St. Petersburg, Volgograd",
    [35] = "(GMT+03:00) Nairobi",
    [36] = "(GMT+03:30) Tehran",
    [37] = "(GMT+04:00) Abu Dhabi, Muscat",
    [38] = "(GMT+04:00) Baku, Tbilisi",
    [39] = "(GMT+04:30) Kabul",
    [40] = "(GMT+05:00) Eekaterinburg",
    [41] = "(GMT+05:00) Islamabad, Karachi, Tashkent",
    [42] = "(GMT+05:30) Bombay, Calcutta, Madras, New Delhi",
    [43] = "(GMT+06:00) Almaty, Dhaka",
    [44] = "(GMT+06:00) Colombo",
    [45] = "(GMT+07:00) Bangkok, Hanoi, Jakarta",
    [46] = "(GMT+08:00) Beijing, Chongqing, Hong Kong",
    [47] = "(GMT+08:00) Perth",
    [48] = "(GMT+08:00) Singapore",
    [49] = "(GMT+08:00) Taipei",
    [50] = "(GMT+09:00) Osaka, Sapporo, Tokyo",
    [51] = "(GMT+09:00) Seoul",
    [52] = "(GMT+09:00) Yakutsk",
    [53] = "(GMT+09:30) Adelaide",
    [54] = "(GMT+09:30) Darwin",
    [55] = "(GMT+10:00) Brisbane",
    [56] = "(GMT+10:00) Canberra, Melbourne, Sydney",
    [57] = "(GMT+10:00) Guam, Port Moresby",
    [58] = "(GMT+10:00) Hobart",
    [59] = "(GMT+10:00) Vladivostok",
    [60] = "(GMT+11:00) Magadan, Solomon Is.,New Caledonia",
    [61] = "(GMT+12:00) Auckland, Wellington",
    [62] = "(GMT+12:00) Fiji, Kamchatka, Marshall Is.",
}
local info_layout = {
    size = 254,
    { key = "state", label = "State (wState)", offset = 0, width = 2, kind = "u16" },
    { key = "password_set", label = "Password set (bPasswordSet)", offset = 2, width = 1, kind = "u8" },
    { key = "reserved", label = "Not interpreted (abReserved3)", offset = 3, width = 2, kind = "bytes" },
    { key = "info_text", label = "Info text (szInfoText)", offset = 5, width = 15, kind = "text" },
}
local INFO_SETTINGS_OFFSET = 20
local settings_layout = {
    size = 234,
    { key = "mac", label = "MAC address (abMac)", offset = 0, width = 6, kind = "mac" },
    { key = "server_name", label = "Server name (szServerName)", offset = 6, width = 15, kind = "text" },
    { key = "note", label = "Note (szNote)", offset = 21, width = 49, kind = "text" },
    { key = "date", label = "Date (szDate)", offset = 70, width = 11, kind = "text" },
    { key = "time", label = "Time (szTime)", offset = 81, width = 9, kind = "text" },
    { key = "fixed_ip", label = "Fixed address (bFixedIp)", offset = 90, width = 1, kind = "u8" },
    { key = "ip_address", label = "IP address (abIpAddress)", offset = 91, width = 4, kind = "ipv4" },
    { key = "subnet_mask", label = "Subnet mask (abSubnetMask)", offset = 95, width = 4, kind = "ipv4" },
    { key = "gateway", label = "Gateway (abGateway)", offset = 99, width = 4, kind = "ipv4" },
    { key = "dhcp_server_off", label = "DHCP server off (bDhcpServerOff)", offset = 103, width = 1, kind = "u8" },
    { key = "reserved", label = "Not interpreted (abReserved104)", offset = 104, width = 9, kind = "bytes" },
    { key = "workgroup", label = "Workgroup (szWorkgroup)", offset = 113, width = 16, kind = "text" },
    { key = "aux_name", label = "Auxiliary name (szAuxName)", offset = 129, width = 33, kind = "text" },
    { key = "time_zone", label = "Time zone (nTimeZone)", offset = 162, width = 4, kind = "tz" },
    { key = "reserved", label = "Not interpreted (abReserved166)", offset = 166, width = 25, kind = "bytes" },
    { key = "reported_address", label = "Reported address (abReportedAddress)", offset = 191, width = 4, kind = "ipv4" },
    { key = "reserved", label = "Not interpreted (abReserved195)", offset = 195, width = 39, kind = "bytes" },
}
local password_layout = {
    size = 21,
    { key = "mac", label = "MAC address", offset = 0, width = 6, kind = "mac" },
    { key = "password", label = "Password", offset = 6, width = 15, kind = "text" },
}
local usb_types = {
    [32] = "PKT_DISK_INFO",
    [33] = "PKT_EJECTED",
    [34] = "PKT_REMOVED",
    [35] = "PKT_EJECT",
    [36] = "PKT_WRONG_PORT",
}
local USB_PORT = 917
local USB_HEADER_SIZE = 8
local USB_NAME_SIZE = 256
local USB_STATUS_IN_USE = 65535
-- END GENERATED TABLES

local zentrive = Proto("zentrive", "Zentrive appliance protocol")

---------------------------------------------------------------------------------------------------------------
-- Fields

local function value_names(names)
    local out = {}
    for k, v in pairs(names) do
        out[k] = type(v) == "table" and (v.name or ("accepted type " .. k)) or v
    end
    return out
end

local f = {
    type = ProtoField.uint16("zentrive.type", "Type", base.DEC, value_names(config_types)),
    status = ProtoField.int16("zentrive.status", "Status", base.DEC),
    message = ProtoField.string("zentrive.message", "Message"),
    sequence = ProtoField.uint16("zentrive.sequence", "Sequence number", base.DEC),
    length = ProtoField.uint16("zentrive.length", "Length", base.DEC),
    payload = ProtoField.bytes("zentrive.payload", "Payload"),
    record_count = ProtoField.uint16("zentrive.record_count", "Record count", base.DEC),
    record = ProtoField.bytes("zentrive.record", "Record"),
    response_in = ProtoField.framenum("zentrive.response_in", "Response in", base.NONE, frametype.RESPONSE),
    response_to = ProtoField.framenum("zentrive.response_to", "Response to", base.NONE, frametype.REQUEST),
    time = ProtoField.relative_time("zentrive.time", "Time since request"),
    tz_name = ProtoField.string("zentrive.settings.time_zone_name", "Time zone name"),
    usb_type = ProtoField.uint16("zentrive.usb.type", "Type", base.DEC, usb_types),
    usb_status = ProtoField.uint16("zentrive.usb.status", "Status", base.HEX),
    usb_reserved = ProtoField.uint16("zentrive.usb.reserved", "Reserved", base.HEX),
    usb_length = ProtoField.uint16("zentrive.usb.length", "Length", base.DEC),
    usb_name = ProtoField.string("zentrive.usb.name", "Name"),
    usb_server = ProtoField.string("zentrive.usb.server", "Server"),
}

-- One field per record field; fields of the same key (the records' uninterpreted bytes) share one.
local layout_fields = {}
local function layout_field(prefix, row)
    local abbr = prefix .. "." .. row.key
    if layout_fields[abbr] then return layout_fields[abbr] end
    local name = row.label:gsub(" %(.*%)$", "")
    local field
    if row.kind == "mac" then
        field = ProtoField.ether(abbr, name)
    elseif row.kind == "text" then
        field = ProtoField.string(abbr, name)
    elseif row.kind == "u8" then
        field = ProtoField.uint8(abbr, name, base.DEC)
    elseif row.kind == "u16" then
        field = ProtoField.uint16(abbr, name, base.DEC)
    elseif row.kind == "ipv4" then
        field = ProtoField.ipv4(abbr, name)
    elseif row.kind == "tz" then
        field = ProtoField.int32(abbr, name, base.DEC)
    else
        field = ProtoField.bytes(abbr, name)
    end
    layout_fields[abbr] = field
    f[abbr] = field
    return field
end
for _, row in ipairs(info_layout) do layout_field("zentrive.info", row) end
for _, row in ipairs(settings_layout) do layout_field("zentrive.settings", row) end
for _, row in ipairs(password_layout) do layout_field("zentrive.check", row) end

local fields = {}
for _, field in pairs(f) do fields[#fields + 1] = field end
zentrive.fields = fields

-- Each expert note: its name below zentrive.expert, its summary, its group and its severity.
local e, experts = {}, {}
for _, x in ipairs({
    { "length", "Length field does not match the payload", "MALFORMED", "ERROR" },
    { "truncated", "Datagram too short for its record", "MALFORMED", "ERROR" },
    { "oversize", "Datagram longer than a packet may be", "MALFORMED", "ERROR" },
    { "unterminated", "Text field without terminator", "MALFORMED", "WARN" },
    { "unknown_type", "Unknown packet type", "MALFORMED", "WARN" },
    { "request_status", "Request with a nonzero status", "PROTOCOL", "WARN" },
    { "failure", "The appliance reports a failure", "RESPONSE_CODE", "WARN" },
    { "in_use", "The disk is in use and was not ejected", "RESPONSE_CODE", "NOTE" },
    { "no_request", "No request for this reply in the capture", "SEQUENCE", "NOTE" },
}) do
    e[x[1]] = ProtoExpert.new("zentrive.expert." .. x[1], x[2], expert.group[x[3]], expert.severity[x[4]])
    experts[#experts + 1] = e[x[1]]
end
zentrive.experts = experts

---------------------------------------------------------------------------------------------------------------
-- Requests and replies: a request is remembered under the PC's address and port (and, on 915, its type and
-- sequence number); a reply to that address and port with the same key answers the latest such request
-- before it. A retry resends the same number, so its replies belong to the retry.

local requests = {}    -- key -> frame number of the latest request so far (first pass)
local reply_of = {}    -- reply frame -> its request's frame
local replies_of = {}  -- request frame -> list of reply frames
local times = {}       -- frame -> its time since the first frame (NSTime)

-- The time since the first frame, small enough for a double to hold it to the nanosecond (the absolute time is
-- not).
local function frame_time(pinfo)
    local secs = math.floor(pinfo.rel_ts)
    return NSTime.new(secs, math.floor((pinfo.rel_ts - secs) * 1e9 + 0.5))
end

function zentrive.init()
    requests, reply_of, replies_of, times = {}, {}, {}, {}
end

local function remember_request(pinfo, key)
    if pinfo.visited then return end
    requests[key] = pinfo.number
    times[pinfo.number] = frame_time(pinfo)
end

local function remember_reply(pinfo, key)
    if pinfo.visited then return end
    local request = requests[key]
    if request then
        reply_of[pinfo.number] = request
        times[pinfo.number] = frame_time(pinfo)
        local list = replies_of[request] or {}
        list[#list + 1] = pinfo.number
        replies_of[request] = list
    end
end

local function show_replies(tree, pinfo)
    for _, frame in ipairs(replies_of[pinfo.number] or {}) do
        tree:add(f.response_in, frame):set_generated()
    end
end

-- False when the capture holds no request for this reply.
local function show_request(tree, pinfo)
    local request = reply_of[pinfo.number]
    if not request then return false end
    tree:add(f.response_to, request):set_generated()
    tree:add(f.time, times[pinfo.number] - times[request]):set_generated()
    return true
end

-- Links a request and its replies under the service's port, the PC's address and port, and what follows them
-- in the key.
local function link(tree, pinfo, is_request, port, rest)
    local pc = is_request and (tostring(pinfo.src) .. ":" .. pinfo.src_port)
                          or (tostring(pinfo.dst) .. ":" .. pinfo.dst_port)
    local key = port .. "/" .. pc .. rest
    if is_request then
        remember_request(pinfo, key)
        show_replies(tree, pinfo)
    else
        remember_reply(pinfo, key)
        if not show_request(tree, pinfo) then tree:add_proto_expert_info(e.no_request) end
    end
end

---------------------------------------------------------------------------------------------------------------
-- Records

-- The text of a NUL-terminated, zero-padded field: up to the first NUL, never past the field. The second
-- result is false when the field holds no NUL.
local function text_of(range)
    local bytes = range:bytes()
    local len = 0
    while len < bytes:len() and bytes:get_index(len) ~= 0 do len = len + 1 end
    return len > 0 and range(0, len):string() or "", len < bytes:len()
end

local function add_text(tree, field, range)
    local text, terminated = text_of(range)
    local item = tree:add(field, range, text)
    if not terminated then item:add_proto_expert_info(e.unterminated) end
    return text
end

-- Adds the fields of a layout that lie within the buffer; false when the record is cut short.
local function add_layout(tree, buffer, base_offset, prefix, layout)
    local available = buffer:len() - base_offset
    for _, row in ipairs(layout) do
        if row.offset + row.width > available then
            tree:add_proto_expert_info(e.truncated, string.format("Record cut short: %d of %d bytes",
                                                                   math.max(available, 0), layout.size))
            return false
        end
        local range = buffer(base_offset + row.offset, row.width)
        local field = layout_fields[prefix .. "." .. row.key]
        if row.kind == "text" then
            add_text(tree, field, range)
        elseif row.kind == "tz" then
            local index = range:le_int()
            local item = tree:add_le(field, range)
            local name = time_zones[index]
            item:append_text(name and (" " .. name) or " (outside the table)")
            if name then tree:add(f.tz_name, range, name):set_generated() end
        elseif row.kind == "u16" then
            tree:add_le(field, range)
        else
            tree:add(field, range)
        end
    end
    return true
end

-- False, with a note, when the datagram is shorter than its service's header; what names it in the summary.
local function header_fits(tree, pinfo, size, header_size, what)
    if size >= header_size then return true end
    tree:add_proto_expert_info(e.truncated, string.format("Datagram of %d bytes, shorter than the %d-byte header",
                                                           size, header_size))
    pinfo.cols.info = what .. ", datagram too short"
    return false
end

local function check_length(tree, field, buffer, wLength, payload)
    local item = tree:add_le(field, buffer(6, 2))
    if wLength ~= payload then
        item:add_proto_expert_info(e.length, string.format("Length field says %d bytes, the payload has %d", wLength,
                                                           payload))
    end
end

---------------------------------------------------------------------------------------------------------------
-- Port 915: the 8-byte header, then the payload of the type. To 915: the wizard's request; from 915: a reply.

local function dissect_config(buffer, pinfo, root)
    local size = buffer:len()
    local tree = root:add(zentrive, buffer(), "Zentrive configuration service")
    pinfo.cols.protocol = "ZENTRIVE"
    if not header_fits(tree, pinfo, size, HEADER_SIZE, "Zentrive") then return end
    local is_request = pinfo.dst_port == CONFIG_PORT
    local wType = buffer(0, 2):le_uint()
    local wStatus = buffer(2, 2):le_int()
    local wSequence = buffer(4, 2):le_uint()
    local wLength = buffer(6, 2):le_uint()
    local entry = config_types[wType]
    local type_name = entry and (entry.name or ("type " .. wType)) or ("unknown type " .. wType)

    tree:append_text(is_request and ", request" or ", reply")
    local type_item = tree:add_le(f.type, buffer(0, 2))
    if not entry then type_item:add_proto_expert_info(e.unknown_type) end
    local status_item = tree:add_le(f.status, buffer(2, 2))
    local text = wStatus ~= 0 and (result_texts[wStatus] or OTHER_ERROR) or nil
    if text then
        status_item:append_text(" (" .. text .. ")")
        tree:add(f.message, buffer(2, 2), text):set_generated()
        if is_request then
            status_item:add_proto_expert_info(e.request_status)
        else
            status_item:add_proto_expert_info(e.failure, "The appliance reports a failure: " .. text)
        end
    end
    tree:add_le(f.sequence, buffer(4, 2))
    local payload = size - HEADER_SIZE
    check_length(tree, f.length, buffer, wLength, payload)
    if size > MAX_PACKET then
        tree:add_proto_expert_info(e.oversize, string.format("Datagram of %d bytes; a packet has at most %d",
                                                              size, MAX_PACKET))
    end

    link(tree, pinfo, is_request, CONFIG_PORT, "/" .. wType .. "/" .. wSequence)

    pinfo.cols.info = string.format("%s %s seq=%d%s", type_name, is_request and "request" or "reply", wSequence,
                                    text and (" status=" .. wStatus .. " " .. text) or "")

    if payload <= 0 or not entry then
        if payload > 0 then tree:add(f.payload, buffer(HEADER_SIZE)) end
        return
    end
    if is_request and entry.length and payload ~= entry.length then
        tree:add_proto_expert_info(e.length, string.format("A %s request carries %d payload bytes, not %d",
                                                           type_name, payload, entry.length))
    end
    if wType == PKT_GET_INFO and not is_request then
        local info = tree:add(zentrive, buffer(HEADER_SIZE), "Device info")
        local at = HEADER_SIZE + INFO_SETTINGS_OFFSET
        if add_layout(info, buffer, HEADER_SIZE, "zentrive.info", info_layout) then
            local settings = info:add(zentrive, buffer(at), "Settings")
            if add_layout(settings, buffer, at, "zentrive.settings", settings_layout) then
                local name = settings_layout[2]
                pinfo.cols.info:append(" " .. text_of(buffer(at + name.offset, name.width)))
            end
        end
    elseif is_request and wType == PKT_SET_CONFIG then
        local settings = tree:add(zentrive, buffer(HEADER_SIZE), "Settings")
        add_layout(settings, buffer, HEADER_SIZE, "zentrive.settings", settings_layout)
    elseif is_request and wType == PKT_CHECK_PASSWORD then
        local check = tree:add(zentrive, buffer(HEADER_SIZE), "Password check")
        add_layout(check, buffer, HEADER_SIZE, "zentrive.check", password_layout)
    elseif is_request and entry.counted and payload >= entry.count_offset - HEADER_SIZE + 2 then
        local count = buffer(entry.count_offset, 2):le_uint()
        tree:add_le(f.record_count, buffer(entry.count_offset, 2))
        local offset = HEADER_SIZE + entry.fixed
        for _ = 1, count do
            if offset + entry.per_record > size then break end
            tree:add(f.record, buffer(offset, entry.per_record))
            offset = offset + entry.per_record
        end
    else
        tree:add(f.payload, buffer(HEADER_SIZE))
    end
end

---------------------------------------------------------------------------------------------------------------
-- Port 917: the one 264-byte record. Both ports 917: a notice; to 917: the PC's request; from 917: its reply.

-- The server part of a disk path, as the tray utility takes it: after the first two backslashes, up to the next.

local function server_of_path(path)
    local start = path:find("\\\\", 1, true)
    if start then path = path:sub(start + 2) end
    local stop = path:find("\\", 1, true)
    if stop then path = path:sub(1, stop - 1) end
    return path
end

local function dissect_usb(buffer, pinfo, root)
    local size = buffer:len()
    local tree = root:add(zentrive, buffer(), "Zentrive USB-disk service")
    pinfo.cols.protocol = "ZENTRIVE"
    local from_service = pinfo.src_port == USB_PORT
    local to_service = pinfo.dst_port == USB_PORT
    local role = (from_service and to_service) and "notice" or (to_service and "request" or "reply")
    tree:append_text(", " .. role)
    if not header_fits(tree, pinfo, size, USB_HEADER_SIZE, "Zentrive USB " .. role) then return end
    local wType = buffer(0, 2):le_uint()
    local wStatus = buffer(2, 2):le_uint()
    local wLength = buffer(6, 2):le_uint()
    local type_name = usb_types[wType] or ("unknown type " .. wType)

    local type_item = tree:add_le(f.usb_type, buffer(0, 2))
    if not usb_types[wType] then type_item:add_proto_expert_info(e.unknown_type) end
    local status_item = tree:add_le(f.usb_status, buffer(2, 2))
    if wStatus == USB_STATUS_IN_USE then
        status_item:append_text(" (STATUS_IN_USE)")
        if role == "reply" then status_item:add_proto_expert_info(e.in_use) end
    end
    tree:add_le(f.usb_reserved, buffer(4, 2))
    local payload = size - USB_HEADER_SIZE
    check_length(tree, f.usb_length, buffer, wLength, payload)

    local name = nil
    if payload > 0 then
        local width = math.min(payload, USB_NAME_SIZE)
        name = add_text(tree, f.usb_name, buffer(USB_HEADER_SIZE, width))
        if payload < USB_NAME_SIZE then
            tree:add_proto_expert_info(e.truncated, string.format("Name field cut short: %d of %d bytes", payload,
                                                                   USB_NAME_SIZE))
        elseif payload > USB_NAME_SIZE then
            tree:add(f.payload, buffer(USB_HEADER_SIZE + USB_NAME_SIZE))
        end
        if name ~= "" then
            tree:add(f.usb_server, buffer(USB_HEADER_SIZE, width), server_of_path(name)):set_generated()
        end
    end

    if role ~= "notice" then link(tree, pinfo, role == "request", USB_PORT, "") end

    local info = string.format("%s %s", type_name, role)
    if wStatus == USB_STATUS_IN_USE then info = info .. " STATUS_IN_USE" end
    if name and name ~= "" then info = info .. " " .. name end
    pinfo.cols.info = info
end

function zentrive.dissector(buffer, pinfo, root)
    if pinfo.src_port == USB_PORT or pinfo.dst_port == USB_PORT then
        dissect_usb(buffer, pinfo, root)
    else
        dissect_config(buffer, pinfo, root)
    end
    return buffer:len()
end

-- UDP hands an empty datagram to no dissector; this one looks at every frame for an empty datagram to or from
-- either service.
local empty = Proto("zentrive_empty", "Zentrive empty datagram")
local empty_expert = ProtoExpert.new("zentrive.expert.empty", "Empty datagram", expert.group.MALFORMED,
                                     expert.severity.ERROR)
empty.experts = { empty_expert }
local udp_length = Field.new("udp.length")
local udp_srcport = Field.new("udp.srcport")
local udp_dstport = Field.new("udp.dstport")

function empty.dissector(buffer, pinfo, root)
    local length, src, dst = udp_length(), udp_srcport(), udp_dstport()
    if not (length and src and dst) or length.value ~= 8 then return end
    local ports = { [CONFIG_PORT] = true, [USB_PORT] = true }
    if not (ports[src.value] or ports[dst.value]) then return end
    pinfo.cols.protocol = "ZENTRIVE"
    pinfo.cols.info = "Zentrive, empty datagram"
    root:add(empty, buffer(0, 0)):add_proto_expert_info(empty_expert)
end
register_postdissector(empty)

local udp_port = DissectorTable.get("udp.port")
udp_port:add(CONFIG_PORT, zentrive)
udp_port:add(USB_PORT, zentrive)
