model = K9PM100
id1 = 0xFFFF
id2 = 0
report_length = 1024
open_fails = 1
