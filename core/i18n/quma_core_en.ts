<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ko">
<context>
    <name>Alarm</name>
    <message>
        <source>AC 경보</source>
        <translation>AC failure</translation>
    </message>
    <message>
        <source>DC 고전압</source>
        <translation>DC high voltage</translation>
    </message>
    <message>
        <source>DC 저전압</source>
        <translation>DC low voltage</translation>
    </message>
    <message>
        <source>DC 과전류</source>
        <translation>DC overcurrent</translation>
    </message>
    <message>
        <source>축전지 경보</source>
        <translation>Battery alarm</translation>
    </message>
    <message>
        <source>모듈 경보</source>
        <translation>Rectifier module failure</translation>
    </message>
    <message>
        <source>축전지 저전압</source>
        <translation>Battery low voltage</translation>
    </message>
    <message>
        <source>모듈 고온</source>
        <translation>Module high temperature</translation>
    </message>
    <message>
        <source>축전지 셀</source>
        <translation>Battery cell</translation>
    </message>
    <message>
        <source>Alarm그룹</source>
        <translation>Alarm groups</translation>
    </message>
    <message>
        <source>교류입력</source>
        <translation>AC input</translation>
    </message>
    <message>
        <source>직류출력</source>
        <translation>DC output</translation>
    </message>
    <message>
        <source>정류모듈</source>
        <translation>Rectifier modules</translation>
    </message>
    <message>
        <source>축전지</source>
        <translation>Battery</translation>
    </message>
</context>
<context>
    <name>Battery</name>
    <message>
        <source>forced</source>
        <translation>forced</translation>
    </message>
    <message>
        <source>scheduled</source>
        <translation>scheduled</translation>
    </message>
    <message>
        <source>started at the controller</source>
        <translation>started at the controller</translation>
    </message>
    <message>
        <source>time elapsed</source>
        <translation>time elapsed</translation>
    </message>
    <message>
        <source>end voltage reached early</source>
        <translation>end voltage reached early</translation>
    </message>
    <message>
        <source>stopped by command</source>
        <translation>stopped by command</translation>
    </message>
    <message>
        <source>link lost</source>
        <translation>link lost</translation>
    </message>
    <message>
        <source>ended at the controller</source>
        <translation>ended at the controller</translation>
    </message>
    <message>
        <source>pass</source>
        <translation>pass</translation>
    </message>
    <message>
        <source>look closer</source>
        <translation>look closer</translation>
    </message>
    <message>
        <source>fail</source>
        <translation>fail</translation>
    </message>
    <message>
        <source>not judged</source>
        <translation>not judged</translation>
    </message>
    <message>
        <source>Discharge test: %1, %2 to %3 (%4 of %5 min), %6</source>
        <translation>Discharge test: %1, %2 to %3 (%4 of %5 min), %6</translation>
    </message>
    <message>
        <source>Delivered: %1 Ah, %2 Wh; charge %3 % to %4 %</source>
        <translation>Delivered: %1 Ah, %2 Wh; charge %3 % to %4 %</translation>
    </message>
    <message>
        <source>Capacity: %1 Ah (%2 of the first test)</source>
        <translation>Capacity: %1 Ah (%2 of the first test)</translation>
    </message>
    <message>
        <source>Resistance: %1 mOhm (%2 of the first test)</source>
        <translation>Resistance: %1 mOhm (%2 of the first test)</translation>
    </message>
    <message>
        <source>Weakest cell: #%1 at %2 V; spread %3 mV at the start, %4 mV at the end</source>
        <translation>Weakest cell: #%1 at %2 V; spread %3 mV at the start, %4 mV at the end</translation>
    </message>
    <message>
        <source>Temperature: %1 to %2 C</source>
        <translation>Temperature: %1 to %2 C</translation>
    </message>
    <message>
        <source>Verdict: %1</source>
        <translation>Verdict: %1</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>Minutes</translation>
    </message>
    <message>
        <source>End</source>
        <translation>End</translation>
    </message>
    <message>
        <source>Ah</source>
        <translation>Ah</translation>
    </message>
    <message>
        <source>Wh</source>
        <translation>Wh</translation>
    </message>
    <message>
        <source>Charge %</source>
        <translation>Charge %</translation>
    </message>
    <message>
        <source>Capacity Ah</source>
        <translation>Capacity Ah</translation>
    </message>
    <message>
        <source>vs first</source>
        <translation>vs first</translation>
    </message>
    <message>
        <source>mOhm</source>
        <translation>mOhm</translation>
    </message>
    <message>
        <source>Weakest cell</source>
        <translation>Weakest cell</translation>
    </message>
    <message>
        <source>Spread mV</source>
        <translation>Spread mV</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Verdict</translation>
    </message>
    <message>
        <source>The test did not run to its end: not judged.</source>
        <translation>The test did not run to its end: not judged.</translation>
    </message>
    <message>
        <source>The end voltage %1 V came after %2 of %3 minutes.</source>
        <translation>The end voltage %1 V came after %2 of %3 minutes.</translation>
    </message>
    <message>
        <source>Capacity %1 % of the first test&apos;s: below %2 %.</source>
        <translation>Capacity %1 % of the first test&apos;s: below %2 %.</translation>
    </message>
    <message>
        <source>Capacity %1 % of the first test&apos;s: down more than %2 %.</source>
        <translation>Capacity %1 % of the first test&apos;s: down more than %2 %.</translation>
    </message>
    <message>
        <source>Resistance %1 % of the first test&apos;s: up %2 % or more.</source>
        <translation>Resistance %1 % of the first test&apos;s: up %2 % or more.</translation>
    </message>
    <message>
        <source>Cell spread %1 mV at the end (limit %2 mV), lowest cell #%3.</source>
        <translation>Cell spread %1 mV at the end (limit %2 mV), lowest cell #%3.</translation>
    </message>
    <message>
        <source>Cell #%1 ended at %2 V (limit %3 V).</source>
        <translation>Cell #%1 ended at %2 V (limit %3 V).</translation>
    </message>
    <message>
        <source>Cell #%1 was the weakest in the test before too.</source>
        <translation>Cell #%1 was the weakest in the test before too.</translation>
    </message>
    <message>
        <source>%1: %2; the file is kept as %3 and a new history begins</source>
        <translation>%1: %2; the file is kept as %3 and a new history begins</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>not JSON (%1 at byte %2)</source>
        <translation>not JSON (%1 at byte %2)</translation>
    </message>
    <message>
        <source>not a battery test history</source>
        <translation>not a battery test history</translation>
    </message>
    <message>
        <source>version %1 is not known here</source>
        <translation>version %1 is not known here</translation>
    </message>
    <message>
        <source>test %1 is not readable</source>
        <translation>test %1 is not readable</translation>
    </message>
</context>
<context>
    <name>History</name>
    <message>
        <source>순서</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>날짜</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>시간</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>AC전압</source>
        <translation>AC voltage</translation>
    </message>
    <message>
        <source>AC전류</source>
        <translation>AC current</translation>
    </message>
    <message>
        <source>DC전압</source>
        <translation>DC voltage</translation>
    </message>
    <message>
        <source>DC전류</source>
        <translation>DC current</translation>
    </message>
    <message>
        <source>Batt전류</source>
        <translation>Battery current</translation>
    </message>
    <message>
        <source>Rack온도</source>
        <translation>Rack temperature</translation>
    </message>
    <message>
        <source>경보</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>이벤트 내용</source>
        <translation>Event</translation>
    </message>
    <message>
        <source>value</source>
        <translation>Value</translation>
    </message>
</context>
<context>
    <name>MonitorEngine</name>
    <message>
        <source>Too many settings at once: %1 (at most %2).</source>
        <translation>Too many settings at once: %1 (at most %2).</translation>
    </message>
    <message>
        <source>Register %1: value %2 is outside 0..65535; nothing was sent.</source>
        <translation>Register %1: value %2 is outside 0..65535; nothing was sent.</translation>
    </message>
    <message>
        <source> Setting Sucess!!</source>
        <translation>Settings saved.</translation>
    </message>
    <message>
        <source> Alarm Initial Sucess!!</source>
        <translation>Alarm history cleared.</translation>
    </message>
    <message>
        <source> Event log Initial Sucess!!</source>
        <translation>Event log cleared.</translation>
    </message>
    <message>
        <source> Event Initial Sucess!!</source>
        <translation>Event log cleared.</translation>
    </message>
    <message>
        <source>No History data</source>
        <translation>The alarm history is empty.</translation>
    </message>
    <message>
        <source>No Event log data</source>
        <translation>The event log is empty.</translation>
    </message>
    <message>
        <source>%1 History data</source>
        <translation>%1 records</translation>
    </message>
    <message>
        <source>are Saved!!</source>
        <translation>downloaded.</translation>
    </message>
    <message>
        <source> (no reply, asking again: %1 of %2)</source>
        <translation> (no reply, asking again: %1 of %2)</translation>
    </message>
</context>
<context>
    <name>Profile</name>
    <message>
        <source>unused</source>
        <translation>unused</translation>
    </message>
    <message>
        <source>used</source>
        <translation>used</translation>
    </message>
    <message>
        <source>output voltage</source>
        <translation>output voltage</translation>
    </message>
    <message>
        <source>temperature compensation</source>
        <translation>temperature compensation</translation>
    </message>
    <message>
        <source>test</source>
        <translation>test</translation>
    </message>
    <message>
        <source>normally open</source>
        <translation>normally open</translation>
    </message>
    <message>
        <source>normally closed</source>
        <translation>normally closed</translation>
    </message>
    <message>
        <source>dry contact</source>
        <translation>dry contact</translation>
    </message>
    <message>
        <source>TTL level</source>
        <translation>TTL level</translation>
    </message>
    <message>
        <source>AC alarm</source>
        <translation>AC alarm</translation>
    </message>
    <message>
        <source>DC high voltage</source>
        <translation>DC high voltage</translation>
    </message>
    <message>
        <source>DC low voltage</source>
        <translation>DC low voltage</translation>
    </message>
    <message>
        <source>DC overcurrent</source>
        <translation>DC overcurrent</translation>
    </message>
    <message>
        <source>battery alarm</source>
        <translation>battery alarm</translation>
    </message>
    <message>
        <source>module alarm</source>
        <translation>module alarm</translation>
    </message>
    <message>
        <source>battery low voltage</source>
        <translation>battery low voltage</translation>
    </message>
    <message>
        <source>module high temperature</source>
        <translation>module high temperature</translation>
    </message>
    <message>
        <source>battery cell</source>
        <translation>battery cell</translation>
    </message>
    <message>
        <source>none</source>
        <translation>none</translation>
    </message>
</context>
<context>
    <name>Report</name>
    <message>
        <source>예비 1</source>
        <translation>Spare 1</translation>
    </message>
    <message>
        <source>예비 2</source>
        <translation>Spare 2</translation>
    </message>
    <message>
        <source>ko</source>
        <comment>HTML language code</comment>
        <translation>en</translation>
    </message>
    <message>
        <source>Service report </source>
        <translation>Service report </translation>
    </message>
    <message>
        <source>Site service report: </source>
        <translation>Site service report: </translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>System type</source>
        <translation>System type</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>Controller time</source>
        <translation>Controller time</translation>
    </message>
    <message>
        <source>Laptop time</source>
        <translation>Laptop time</translation>
    </message>
    <message>
        <source>Engineer</source>
        <translation>Engineer</translation>
    </message>
    <message>
        <source>Console</source>
        <translation>Console</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>Network identity</source>
        <translation>Network identity</translation>
    </message>
    <message>
        <source>IP address</source>
        <translation>IP address</translation>
    </message>
    <message>
        <source>Subnet mask</source>
        <translation>Subnet mask</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>Gateway</translation>
    </message>
    <message>
        <source>MAC address</source>
        <translation>MAC address</translation>
    </message>
    <message>
        <source>HW version</source>
        <translation>HW version</translation>
    </message>
    <message>
        <source>HW description</source>
        <translation>HW description</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>Rectifier ID</source>
        <translation>Rectifier ID</translation>
    </message>
    <message>
        <source>FW version</source>
        <translation>FW version</translation>
    </message>
    <message>
        <source>Site</source>
        <translation>Site</translation>
    </message>
    <message>
        <source>Not read.</source>
        <translation>Not read.</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>No alarm.</source>
        <translation>No alarm.</translation>
    </message>
    <message>
        <source>Active alarms: </source>
        <translation>Active alarms: </translation>
    </message>
    <message>
        <source>Measurement</source>
        <translation>Measurement</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>ALARM</source>
        <translation>ALARM</translation>
    </message>
    <message>
        <source>normal</source>
        <translation>normal</translation>
    </message>
    <message>
        <source>Contact</source>
        <translation>Contact</translation>
    </message>
    <message>
        <source>State</source>
        <translation>State</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Setting</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>Register</translation>
    </message>
    <message>
        <source>Trends, last hour</source>
        <translation>Trends, last hour</translation>
    </message>
    <message>
        <source>Alarm history (%1 records)</source>
        <translation>Alarm history (%1 records)</translation>
    </message>
    <message>
        <source>No record.</source>
        <translation>No record.</translation>
    </message>
    <message>
        <source>Event log (%1 records)</source>
        <translation>Event log (%1 records)</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation>Battery</translation>
    </message>
    <message>
        <source>No discharge test is recorded for this plant.</source>
        <translation>No discharge test is recorded for this plant.</translation>
    </message>
    <message>
        <source>Last discharge test</source>
        <translation>Last discharge test</translation>
    </message>
    <message>
        <source>Voltage, current and lowest cell</source>
        <translation>Voltage, current and lowest cell</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>Seconds</translation>
    </message>
    <message>
        <source>Battery V</source>
        <translation>Battery V</translation>
    </message>
    <message>
        <source>Battery A</source>
        <translation>Battery A</translation>
    </message>
    <message>
        <source>Lowest cell V</source>
        <translation>Lowest cell V</translation>
    </message>
    <message>
        <source>Tests against the first (%1)</source>
        <translation>Tests against the first (%1)</translation>
    </message>
    <message>
        <source>Cells apart from the others: %1</source>
        <translation>Cells apart from the others: %1</translation>
    </message>
</context>
<context>
    <name>SerialAccess</name>
    <message>
        <source>%1 does not exist: is the adapter plugged in? (ls /dev/serial/by-id)</source>
        <translation>%1 does not exist: is the adapter plugged in? (ls /dev/serial/by-id)</translation>
    </message>
    <message>
        <source>%1 is in use by another program: close it there first</source>
        <translation>%1 is in use by another program: close it there first</translation>
    </message>
    <message>
        <source>%1 may be opened by its owner only (mode %2): ask the administrator</source>
        <translation>%1 may be opened by its owner only (mode %2): ask the administrator</translation>
    </message>
    <message>
        <source>%1 belongs to group %2, which you joined after logging in: log out and in again</source>
        <translation>%1 belongs to group %2, which you joined after logging in: log out and in again</translation>
    </message>
    <message>
        <source>%1 belongs to group %2, which you are not in: sudo usermod -aG %2 $USER, then log in again</source>
        <translation>%1 belongs to group %2, which you are not in: sudo usermod -aG %2 $USER, then log in again</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>AC 저전압</source>
        <translation>AC low voltage</translation>
    </message>
    <message>
        <source>AC 고전압</source>
        <translation>AC high voltage</translation>
    </message>
    <message>
        <source>DC 저전압</source>
        <translation>DC low voltage</translation>
    </message>
    <message>
        <source>DC 고전압</source>
        <translation>DC high voltage</translation>
    </message>
    <message>
        <source>축전지 저전압</source>
        <translation>Battery low voltage</translation>
    </message>
    <message>
        <source>DC 과전류</source>
        <translation>DC overcurrent</translation>
    </message>
    <message>
        <source>랙 고온(차단)</source>
        <translation>Rack high temperature (shutdown)</translation>
    </message>
    <message>
        <source>출력전압</source>
        <translation>Output voltage</translation>
    </message>
    <message>
        <source>충전전류제한</source>
        <translation>Charge current limit</translation>
    </message>
    <message>
        <source>충전모드</source>
        <translation>Charge mode</translation>
    </message>
    <message>
        <source>출력 고전압 상태</source>
        <translation>Output overvoltage state</translation>
    </message>
    <message>
        <source>축전지 USE</source>
        <translation>Battery installed</translation>
    </message>
    <message>
        <source>축전지 온도</source>
        <translation>Battery temperature sensor</translation>
    </message>
    <message>
        <source>방전시험 주기</source>
        <translation>Discharge test period</translation>
    </message>
    <message>
        <source>시험시작 월</source>
        <translation>Test start month</translation>
    </message>
    <message>
        <source>시험시작 일</source>
        <translation>Test start day</translation>
    </message>
    <message>
        <source>시험시작 시간</source>
        <translation>Test start hour</translation>
    </message>
    <message>
        <source>방전전압</source>
        <translation>Discharge end voltage</translation>
    </message>
    <message>
        <source>방전시간</source>
        <translation>Discharge time</translation>
    </message>
    <message>
        <source>강제방전시험</source>
        <translation>Manual discharge test</translation>
    </message>
    <message>
        <source>리튬 충전전류제한</source>
        <translation>Lithium charge current limit</translation>
    </message>
    <message>
        <source>DC 차단 전압</source>
        <translation>DC cut-off voltage</translation>
    </message>
    <message>
        <source>리튬 종지전압</source>
        <translation>Lithium cut-off voltage</translation>
    </message>
    <message>
        <source>AC 전압</source>
        <translation>AC voltage</translation>
    </message>
    <message>
        <source>AC 전류</source>
        <translation>AC current</translation>
    </message>
    <message>
        <source>DC 전압</source>
        <translation>DC voltage</translation>
    </message>
    <message>
        <source>DC 전류</source>
        <translation>DC current</translation>
    </message>
    <message>
        <source>Battery 전류 (+)</source>
        <translation>Battery current (+)</translation>
    </message>
    <message>
        <source>Battery 전류 (-)</source>
        <translation>Battery current (-)</translation>
    </message>
    <message>
        <source>년: the year must be within 2001 ~ 2999.</source>
        <translation>Year: the year must be within 2001 to 2999.</translation>
    </message>
    <message>
        <source>월: the month must be within 1 ~ 12.</source>
        <translation>Month: the month must be within 1 to 12.</translation>
    </message>
    <message>
        <source>일: the day must be within 1 ~ %1.</source>
        <translation>Day: the day must be within 1 to %1.</translation>
    </message>
    <message>
        <source>시: the hour must be within 0 ~ 23.</source>
        <translation>Hour: the hour must be within 0 to 23.</translation>
    </message>
    <message>
        <source>분: the minute must be within 0 ~ 59.</source>
        <translation>Minute: the minute must be within 0 to 59.</translation>
    </message>
    <message>
        <source>초: the second must be within 0 ~ 59.</source>
        <translation>Second: the second must be within 0 to 59.</translation>
    </message>
    <message>
        <source>Read the network identity first (조회): unchanged fields are sent as read.</source>
        <translation>Read the network identity first (Read): unchanged fields are sent as read.</translation>
    </message>
    <message>
        <source>Mac 주소</source>
        <translation>MAC address</translation>
    </message>
    <message>
        <source>정류기 IP 주소</source>
        <translation>Rectifier IP address</translation>
    </message>
    <message>
        <source>HW 버전</source>
        <translation>HW version</translation>
    </message>
    <message>
        <source>정류기 ID: &apos;%1&apos; is not a hex number of at most 8 digits.</source>
        <translation>Rectifier ID: &apos;%1&apos; is not a hex number of at most 8 digits.</translation>
    </message>
    <message>
        <source>HW 설명: %1 bytes, at most 255.</source>
        <translation>HW description: %1 bytes, at most 255.</translation>
    </message>
    <message>
        <source>Site 정보: %1 bytes, at most 255.</source>
        <translation>Site information: %1 bytes, at most 255.</translation>
    </message>
    <message>
        <source>%1: choose an item from the list.</source>
        <translation>%1: choose an item from the list.</translation>
    </message>
    <message>
        <source>%1: &apos;%2&apos; is not a whole number (%3).</source>
        <translation>%1: &apos;%2&apos; is not a whole number (%3).</translation>
    </message>
    <message>
        <source>%1: &apos;%2&apos; is not within %3.</source>
        <translation>%1: &apos;%2&apos; is not within %3.</translation>
    </message>
    <message>
        <source>%1: &apos;%2&apos; is not a number.</source>
        <translation>%1: &apos;%2&apos; is not a number.</translation>
    </message>
    <message>
        <source>%1: &apos;%2&apos; is not within 00.00 ~ %3.</source>
        <translation>%1: &apos;%2&apos; is not within 00.00 ~ %3.</translation>
    </message>
    <message>
        <source>%1: %2 fields are needed.</source>
        <translation>%1: %2 fields are needed.</translation>
    </message>
    <message>
        <source>접점 평상 상태</source>
        <translation>Contact rest state</translation>
    </message>
    <message>
        <source>경보 출력 형식</source>
        <translation>Alarm output type</translation>
    </message>
    <message>
        <source>AC Fail 접점 경보 1</source>
        <translation>AC Fail contact alarms 1</translation>
    </message>
    <message>
        <source>AC Fail 접점 경보 2</source>
        <translation>AC Fail contact alarms 2</translation>
    </message>
    <message>
        <source>DC Fail 접점 경보 1</source>
        <translation>DC Fail contact alarms 1</translation>
    </message>
    <message>
        <source>DC Fail 접점 경보 2</source>
        <translation>DC Fail contact alarms 2</translation>
    </message>
    <message>
        <source>Module Fail 접점 경보 1</source>
        <translation>Module Fail contact alarms 1</translation>
    </message>
    <message>
        <source>Module Fail 접점 경보 2</source>
        <translation>Module Fail contact alarms 2</translation>
    </message>
    <message>
        <source>Battery Fail 접점 경보 1</source>
        <translation>Battery Fail contact alarms 1</translation>
    </message>
    <message>
        <source>Battery Fail 접점 경보 2</source>
        <translation>Battery Fail contact alarms 2</translation>
    </message>
    <message>
        <source>예비 1 접점 경보 1</source>
        <translation>Spare 1 contact alarms 1</translation>
    </message>
    <message>
        <source>예비 1 접점 경보 2</source>
        <translation>Spare 1 contact alarms 2</translation>
    </message>
    <message>
        <source>예비 2 접점 경보 1</source>
        <translation>Spare 2 contact alarms 1</translation>
    </message>
    <message>
        <source>예비 2 접점 경보 2</source>
        <translation>Spare 2 contact alarms 2</translation>
    </message>
    <message>
        <source>Site 정보: control characters (line breaks, escapes) cannot be written.</source>
        <translation>Site: control characters (line breaks, escapes) cannot be written.</translation>
    </message>
</context>
<context>
    <name>Status</name>
    <message>
        <source>AC전압 : </source>
        <translation>AC voltage: </translation>
    </message>
    <message>
        <source>AC전류 : </source>
        <translation>AC current: </translation>
    </message>
    <message>
        <source>DC전압 : </source>
        <translation>DC voltage: </translation>
    </message>
    <message>
        <source>DC전류 : </source>
        <translation>DC current: </translation>
    </message>
    <message>
        <source>Battery전류 : </source>
        <translation>Battery current: </translation>
    </message>
    <message>
        <source>Battery온도 : </source>
        <translation>Battery temperature: </translation>
    </message>
    <message>
        <source>정류기온도 : </source>
        <translation>Rectifier temperature: </translation>
    </message>
    <message>
        <source>설정전압 : </source>
        <translation>Set voltage: </translation>
    </message>
    <message>
        <source>팩 : </source>
        <translation>Pack: </translation>
    </message>
    <message>
        <source>전압 : </source>
        <translation>Voltage: </translation>
    </message>
    <message>
        <source>전류 : </source>
        <translation>Current: </translation>
    </message>
    <message>
        <source>잔량 : </source>
        <translation>Charge: </translation>
    </message>
    <message>
        <source>온도 : </source>
        <translation>Temperature: </translation>
    </message>
    <message>
        <source>종지 전압 : </source>
        <translation>Cut-off voltage: </translation>
    </message>
    <message>
        <source>전류 제한 : </source>
        <translation>Current limit: </translation>
    </message>
    <message>
        <source>셀 최고전압 : </source>
        <translation>Highest cell: </translation>
    </message>
    <message>
        <source>셀 최저전압 : </source>
        <translation>Lowest cell: </translation>
    </message>
    <message>
        <source>충전 FET : On</source>
        <translation>Charge FET: on</translation>
    </message>
    <message>
        <source>충전 FET : OFF</source>
        <translation>Charge FET: off</translation>
    </message>
    <message>
        <source>방전 FET : On</source>
        <translation>Discharge FET: on</translation>
    </message>
    <message>
        <source>방전 FET : OFF</source>
        <translation>Discharge FET: off</translation>
    </message>
    <message>
        <source>축전지-NFB : OFF</source>
        <translation>Battery breaker: off</translation>
    </message>
    <message>
        <source>축전지-NFB : On</source>
        <translation>Battery breaker: on</translation>
    </message>
    <message>
        <source>Link 상태 : On</source>
        <translation>Link: on</translation>
    </message>
    <message>
        <source>Link 상태 : OFF</source>
        <translation>Link: off</translation>
    </message>
    <message>
        <source>셀전압%1 : </source>
        <translation>Cell %1: </translation>
    </message>
    <message>
        <source>축전지 FW 변경일%1</source>
        <translation>Battery FW date %1</translation>
    </message>
</context>
<context>
    <name>TcpClient</name>
    <message>
        <source>timed out: no answer from the controller</source>
        <translation>timed out: no answer from the controller</translation>
    </message>
    <message>
        <source>connection refused: nothing answers on that port of the controller</source>
        <translation>connection refused: nothing answers on that port of the controller</translation>
    </message>
    <message>
        <source>host not found</source>
        <translation>host not found</translation>
    </message>
    <message>
        <source>timed out</source>
        <translation>timed out</translation>
    </message>
</context>
</TS>
