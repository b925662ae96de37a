model = K7P100
# every fault at once
report_length = 64
controllers = 2
fail = model_name, pcap_info
no_reply = restart
refuse_mode = 0x8001, 0x8004
bad_checksum = hw, pen
short_read = sw:100, hw:0
refuse_write = table
register_ignores_write = 0:0:0x10
register_flips_bit = 1:2:1023:7
register_read_fails = 3
disconnect_after = 5
malformed_reports = 1
