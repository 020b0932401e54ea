<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ko">
<context>
    <name>AlarmHistoryWindow</name>
    <message>
        <source>Event Log Data</source>
        <translation>Event Log Data</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>File Name</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Save file</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Total : </source>
        <translation>Total : </translation>
    </message>
</context>
<context>
    <name>AlarmTestDialog</name>
    <message>
        <source>경보 시험</source>
        <translation>Alarm test</translation>
    </message>
    <message>
        <source>경보시험 </source>
        <translation>Alarm test </translation>
    </message>
    <message>
        <source>미사용</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>사용</source>
        <translation>On</translation>
    </message>
    <message>
        <source>경보시험 설정 내용</source>
        <translation>Alarms to simulate</translation>
    </message>
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
        <source>모듈 경보</source>
        <translation>Rectifier module failure</translation>
    </message>
    <message>
        <source>축전지 경보</source>
        <translation>Battery alarm</translation>
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
        <source>설정</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>경보시험 : choose 미사용 or 사용.</source>
        <translation>Alarm test: choose Off or On.</translation>
    </message>
</context>
<context>
    <name>BatteryTab</name>
    <message>
        <source>Discharge test</source>
        <translation>Discharge test</translation>
    </message>
    <message>
        <source>Tests of this plant</source>
        <translation>Tests of this plant</translation>
    </message>
    <message>
        <source>Cells: distance from the mean of the 15</source>
        <translation>Cells: distance from the mean of the 15</translation>
    </message>
    <message>
        <source>Start test...</source>
        <translation>Start test...</translation>
    </message>
    <message>
        <source>Stop test</source>
        <translation>Stop test</translation>
    </message>
    <message>
        <source>Start a forced discharge test (register 92)</source>
        <translation>Start a forced discharge test (register 92)</translation>
    </message>
    <message>
        <source>No test running.</source>
        <translation>No test running.</translation>
    </message>
    <message>
        <source>Test running: %1 of %2 min</source>
        <translation>Test running: %1 of %2 min</translation>
    </message>
    <message>
        <source>%1 Ah delivered</source>
        <translation>%1 Ah delivered</translation>
    </message>
    <message>
        <source>%1 V, %2 A; cells %3 to %4 V</source>
        <translation>%1 V, %2 A; cells %3 to %4 V</translation>
    </message>
    <message>
        <source>End voltage %1 V: not in sight</source>
        <translation>End voltage %1 V: not in sight</translation>
    </message>
    <message>
        <source>End voltage %1 V in about %2 min</source>
        <translation>End voltage %1 V in about %2 min</translation>
    </message>
    <message>
        <source>No cell stays apart from the others.</source>
        <translation>No cell stays apart from the others.</translation>
    </message>
    <message>
        <source>Apart from the others for %1 min or more: %2</source>
        <translation>Apart from the others for %1 min or more: %2</translation>
    </message>
    <message>
        <source>A discharge test makes the battery carry the plant&apos;s load: the rectifiers stand back until the test ends after %1 min or at the end voltage of %2 V. A weak battery may leave the load without power.

Start the test?</source>
        <translation>A discharge test makes the battery carry the plant&apos;s load: the rectifiers stand back until the test ends after %1 min or at the end voltage of %2 V. A weak battery may leave the load without power.

Start the test?</translation>
    </message>
    <message>
        <source>The console is busy with another command: try again when it has finished.</source>
        <translation>The console is busy with another command: try again when it has finished.</translation>
    </message>
    <message>
        <source>The controller did not confirm the test command: look at the Battery tab to see whether a test runs.</source>
        <translation>The controller did not confirm the test command: look at the Battery tab to see whether a test runs.</translation>
    </message>
</context>
<context>
    <name>CalibrationDialog</name>
    <message>
        <source>계측값 설정</source>
        <translation>Measurement calibration</translation>
    </message>
    <message>
        <source>계측설정</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <source>AC 전압</source>
        <translation>AC voltage</translation>
    </message>
    <message>
        <source>V</source>
        <translation>V</translation>
    </message>
    <message>
        <source>AC 전류</source>
        <translation>AC current</translation>
    </message>
    <message>
        <source>A</source>
        <translation>A</translation>
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
        <source>영점</source>
        <translation>Zero</translation>
    </message>
    <message>
        <source>설정</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>ClockDialog</name>
    <message>
        <source>날짜/시간 설정</source>
        <translation>Date and time</translation>
    </message>
    <message>
        <source>년</source>
        <translation>Year</translation>
    </message>
    <message>
        <source>월</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>시</source>
        <translation>Hour</translation>
    </message>
    <message>
        <source>분</source>
        <translation>Minute</translation>
    </message>
    <message>
        <source>초</source>
        <translation>Second</translation>
    </message>
    <message>
        <source>현재 날짜/시간</source>
        <translation>Now (laptop clock)</translation>
    </message>
    <message>
        <source>설정</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>ClosingBox</name>
    <message>
        <source>QUMA</source>
        <translation>QUMA</translation>
    </message>
    <message>
        <source>Now Closing... Plase, wait 5~20 Seconds!!</source>
        <translation>Closing... please wait 5 to 20 seconds.</translation>
    </message>
</context>
<context>
    <name>ConnectionDialog</name>
    <message>
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Serial Port</source>
        <translation>Serial Port</translation>
    </message>
    <message>
        <source>TCP/IP (HOST)</source>
        <translation>TCP/IP (HOST)</translation>
    </message>
    <message>
        <source>Port Refind</source>
        <translation>Find ports again</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>host or host:port (port 502 when none is given)</source>
        <translation>host or host:port (port 502 when none is given)</translation>
    </message>
    <message>
        <source>Look for serial ports again (F5)</source>
        <translation>Look for serial ports again (F5)</translation>
    </message>
    <message>
        <source>Please, Check PC Lan Port Connection!</source>
        <translation>Please, Check PC Lan Port Connection!</translation>
    </message>
    <message>
        <source>No serial port found.</source>
        <translation>No serial port found.</translation>
    </message>
    <message>
        <source>Can not find the serial port</source>
        <translation>Can not find the serial port</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Connecting to </source>
        <translation>Connecting to </translation>
    </message>
    <message>
        <source>Serial port</source>
        <translation>Serial port</translation>
    </message>
    <message>
        <source>Controller address</source>
        <translation>Controller address</translation>
    </message>
    <message>
        <source>TCP/IP %1: %2</source>
        <translation>TCP/IP %1: %2</translation>
    </message>
    <message numerus="yes">
        <source>Found %n serial port(s): %1</source>
        <translation>
            <numerusform>Found %n serial port: %1</numerusform>
            <numerusform>Found %n serial ports: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (no permission)</source>
        <translation>%1 (no permission)</translation>
    </message>
</context>
<context>
    <name>ContactAlarmView</name>
    <message>
        <source>경보접점 알람</source>
        <translation>Alarm contacts</translation>
    </message>
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
        <source>모듈 경보</source>
        <translation>Rectifier module failure</translation>
    </message>
    <message>
        <source>축전지 경보</source>
        <translation>Battery alarm</translation>
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
</context>
<context>
    <name>ContactDefinitionDialog</name>
    <message>
        <source>경보접점 알람설정</source>
        <translation>Alarms on this contact</translation>
    </message>
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
        <source>모듈 경보</source>
        <translation>Rectifier module failure</translation>
    </message>
    <message>
        <source>축전지 경보</source>
        <translation>Battery alarm</translation>
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
        <source>기본값</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>선택해제</source>
        <translation>Clear all</translation>
    </message>
    <message>
        <source>설정</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>ContactSettingsDialog</name>
    <message>
        <source>경보접점 설정</source>
        <translation>Alarm contacts</translation>
    </message>
    <message>
        <source>경보접점 세부알람 설정</source>
        <translation>Alarms per contact</translation>
    </message>
    <message>
        <source>AC Fail</source>
        <translation>AC Fail</translation>
    </message>
    <message>
        <source>DC Fail</source>
        <translation>DC Fail</translation>
    </message>
    <message>
        <source>Module Fail</source>
        <translation>Module Fail</translation>
    </message>
    <message>
        <source>Battery Fail</source>
        <translation>Battery Fail</translation>
    </message>
    <message>
        <source>예비 1</source>
        <translation>Spare 1</translation>
    </message>
    <message>
        <source>예비 2</source>
        <translation>Spare 2</translation>
    </message>
    <message>
        <source>경보접점 상태</source>
        <translation>Contact rest state</translation>
    </message>
    <message>
        <source>정상 Open</source>
        <translation>Normally open</translation>
    </message>
    <message>
        <source>정상 Close</source>
        <translation>Normally closed</translation>
    </message>
    <message>
        <source>경보송출 타입</source>
        <translation>Alarm output type</translation>
    </message>
    <message>
        <source>Dry Contact</source>
        <translation>Dry Contact</translation>
    </message>
    <message>
        <source>TTL Level</source>
        <translation>TTL Level</translation>
    </message>
    <message>
        <source>설정</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>%1: choose an item from the list.</source>
        <translation>%1: choose an item from the list.</translation>
    </message>
</context>
<context>
    <name>EventLogWindow</name>
    <message>
        <source>Event Data</source>
        <translation>Event Data</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>File Name</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Save file</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Total : </source>
        <translation>Total : </translation>
    </message>
</context>
<context>
    <name>FactoryResetDialog</name>
    <message>
        <source>공장초기화 </source>
        <translation>Factory reset </translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Config 초기화</source>
        <translation>Reset configuration</translation>
    </message>
    <message>
        <source>설정 </source>
        <translation>Apply </translation>
    </message>
    <message>
        <source>나가기 </source>
        <translation>Close </translation>
    </message>
    <message>
        <source>%1: the controller is reset. Go on?</source>
        <translation>%1: the controller is reset. Go on?</translation>
    </message>
</context>
<context>
    <name>HistoryClearDialog</name>
    <message>
        <source>이력 초기화</source>
        <translation>Clear logs</translation>
    </message>
    <message>
        <source>알람이력 초기화</source>
        <translation>Clear the alarm history</translation>
    </message>
    <message>
        <source>이벤트로그 초기화</source>
        <translation>Clear the event log</translation>
    </message>
    <message>
        <source>설정</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <source>Save CSV</source>
        <translation>Save CSV</translation>
    </message>
    <message>
        <source>Saved </source>
        <translation>Saved </translation>
    </message>
    <message>
        <source>The CSV file could not be written: </source>
        <translation>The CSV file could not be written: </translation>
    </message>
    <message>
        <source>The controller did not answer the request for the number of records.</source>
        <translation>The controller did not answer the request for the number of records.</translation>
    </message>
    <message>
        <source>Record %1 of %2 could not be read: the controller did not answer.</source>
        <translation>Record %1 of %2 could not be read: the controller did not answer.</translation>
    </message>
    <message>
        <source>No reply</source>
        <translation>No reply</translation>
    </message>
    <message>
        <source>Record %1 not read</source>
        <translation>Record %1 not read</translation>
    </message>
    <message>
        <source>It was asked for %1 times.</source>
        <translation>It was asked for %1 times.</translation>
    </message>
    <message>
        <source>Retry asks again; Cancel leaves the window as it is.</source>
        <translation>Retry asks again; Cancel leaves the window as it is.</translation>
    </message>
    <message>
        <source>Retry asks again; Save keeps the %1 records that arrived.</source>
        <translation>Retry asks again; Save keeps the %1 records that arrived.</translation>
    </message>
    <message>
        <source>CSV file (*.csv)</source>
        <translation>CSV file (*.csv)</translation>
    </message>
    <message>
        <source>Spreadsheet (*.xlsx)</source>
        <translation>Spreadsheet (*.xlsx)</translation>
    </message>
    <message>
        <source>Save the table</source>
        <translation>Save the table</translation>
    </message>
    <message>
        <source>The spreadsheet could not be written: </source>
        <translation>The spreadsheet could not be written: </translation>
    </message>
</context>
<context>
    <name>LoginDialog</name>
    <message>
        <source>로그인</source>
        <translation>Log in</translation>
    </message>
    <message>
        <source>ID </source>
        <translation>ID </translation>
    </message>
    <message>
        <source>암호</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>Close</translation>
    </message>
    <message>
        <source> Please try again </source>
        <translation>Wrong ID or password. Please try again.</translation>
    </message>
</context>
<context>
    <name>LogoutDialog</name>
    <message>
        <source>Logout</source>
        <translation>Logout</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>Are you sure?</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>QUMA </source>
        <translation>QUMA </translation>
    </message>
    <message>
        <source>TX</source>
        <translation>TX</translation>
    </message>
    <message>
        <source>RX</source>
        <translation>RX</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>먼저 로그인하십시오: 접속 → 로그인</source>
        <translation>Log in first: Connection → Log in</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>경보시험 완료시 경보시험 미사용으로 반드시 설정바랍니다.</source>
        <translation>When the alarm test is over, set the alarm test back to Off.</translation>
    </message>
    <message>
        <source>PSU</source>
        <translation>PSU</translation>
    </message>
    <message>
        <source>RRU</source>
        <translation>RRU</translation>
    </message>
    <message>
        <source>측정값</source>
        <translation>Measurements</translation>
    </message>
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
        <source>축전지 방전시험 중</source>
        <translation>Battery discharge test running</translation>
    </message>
    <message>
        <source>경보접점 알람</source>
        <translation>Alarm contacts</translation>
    </message>
    <message>
        <source>AC Fail</source>
        <translation>AC Fail</translation>
    </message>
    <message>
        <source>DC Fail</source>
        <translation>DC Fail</translation>
    </message>
    <message>
        <source>Module Fail</source>
        <translation>Module Fail</translation>
    </message>
    <message>
        <source>Battery Fail</source>
        <translation>Battery Fail</translation>
    </message>
    <message>
        <source>예비 1</source>
        <translation>Spare 1</translation>
    </message>
    <message>
        <source>예비 2</source>
        <translation>Spare 2</translation>
    </message>
    <message>
        <source>축전지 정보</source>
        <translation>Battery</translation>
    </message>
    <message>
        <source>FW : </source>
        <translation>FW: </translation>
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
        <source>축전지-NFB : </source>
        <translation>Battery breaker: </translation>
    </message>
    <message>
        <source>보호</source>
        <translation>Protection</translation>
    </message>
    <message>
        <source>충전과전압 차단</source>
        <translation>Charge overvoltage cut-off</translation>
    </message>
    <message>
        <source>충전과전류 차단</source>
        <translation>Charge overcurrent cut-off</translation>
    </message>
    <message>
        <source>방전저전압 차단 (축전지NFB OFF)</source>
        <translation>Discharge undervoltage cut-off (breaker off)</translation>
    </message>
    <message>
        <source>방전과전류 차단</source>
        <translation>Discharge overcurrent cut-off</translation>
    </message>
    <message>
        <source>고온 차단</source>
        <translation>High temperature cut-off</translation>
    </message>
    <message>
        <source>저온 차단</source>
        <translation>Low temperature cut-off</translation>
    </message>
    <message>
        <source>셀편차 차단</source>
        <translation>Cell imbalance cut-off</translation>
    </message>
    <message>
        <source>알람</source>
        <translation>Alarms</translation>
    </message>
    <message>
        <source>과전압경보</source>
        <translation>Overvoltage</translation>
    </message>
    <message>
        <source>과전류 경보</source>
        <translation>Overcurrent</translation>
    </message>
    <message>
        <source>셀편차 경보</source>
        <translation>Cell imbalance</translation>
    </message>
    <message>
        <source>예약1</source>
        <translation>Reserved 1</translation>
    </message>
    <message>
        <source>예약2</source>
        <translation>Reserved 2</translation>
    </message>
    <message>
        <source>방전저전압 경보</source>
        <translation>Discharge undervoltage</translation>
    </message>
    <message>
        <source>방전과전류 경보</source>
        <translation>Discharge overcurrent</translation>
    </message>
    <message>
        <source>고온 경보</source>
        <translation>High temperature</translation>
    </message>
    <message>
        <source>저온 경보</source>
        <translation>Low temperature</translation>
    </message>
    <message>
        <source>셀 발란싱</source>
        <translation>Cell balancing</translation>
    </message>
    <message>
        <source>셀전압1 : </source>
        <translation>Cell 1: </translation>
    </message>
    <message>
        <source>셀전압2 : </source>
        <translation>Cell 2: </translation>
    </message>
    <message>
        <source>셀전압3 : </source>
        <translation>Cell 3: </translation>
    </message>
    <message>
        <source>셀전압4 : </source>
        <translation>Cell 4: </translation>
    </message>
    <message>
        <source>셀전압5 : </source>
        <translation>Cell 5: </translation>
    </message>
    <message>
        <source>셀전압6 : </source>
        <translation>Cell 6: </translation>
    </message>
    <message>
        <source>셀전압7 : </source>
        <translation>Cell 7: </translation>
    </message>
    <message>
        <source>셀전압8 : </source>
        <translation>Cell 8: </translation>
    </message>
    <message>
        <source>셀전압9 : </source>
        <translation>Cell 9: </translation>
    </message>
    <message>
        <source>셀전압10 : </source>
        <translation>Cell 10: </translation>
    </message>
    <message>
        <source>셀전압11 : </source>
        <translation>Cell 11: </translation>
    </message>
    <message>
        <source>셀전압12 : </source>
        <translation>Cell 12: </translation>
    </message>
    <message>
        <source>셀전압13 : </source>
        <translation>Cell 13: </translation>
    </message>
    <message>
        <source>셀전압14 : </source>
        <translation>Cell 14: </translation>
    </message>
    <message>
        <source>셀전압15 : </source>
        <translation>Cell 15: </translation>
    </message>
    <message>
        <source>Can Fail Cnt : </source>
        <translation>Can Fail Cnt : </translation>
    </message>
    <message>
        <source>CAN CPU VER : </source>
        <translation>CAN CPU VER : </translation>
    </message>
    <message>
        <source>CPU Com(Normal)</source>
        <translation>CPU Com(Normal)</translation>
    </message>
    <message>
        <source>log</source>
        <translation>Data log</translation>
    </message>
    <message>
        <source>Service</source>
        <translation>Service</translation>
    </message>
    <message>
        <source>Ethernet 설정</source>
        <translation>Ethernet setting</translation>
    </message>
    <message>
        <source>Ethernet 속도</source>
        <translation>Ethernet speed</translation>
    </message>
    <message>
        <source>DSP#1 VER : </source>
        <translation>DSP#1 VER : </translation>
    </message>
    <message>
        <source>DSP#2 VER : </source>
        <translation>DSP#2 VER : </translation>
    </message>
    <message>
        <source>Task Fail Count : </source>
        <translation>Task Fail Count : </translation>
    </message>
    <message>
        <source>CHLimit FG : </source>
        <translation>CHLimit FG : </translation>
    </message>
    <message>
        <source>Log Time</source>
        <translation>Log Time</translation>
    </message>
    <message>
        <source>2초</source>
        <translation>2 s</translation>
    </message>
    <message>
        <source>10초</source>
        <translation>10 s</translation>
    </message>
    <message>
        <source>1분</source>
        <translation>1 min</translation>
    </message>
    <message>
        <source>2분</source>
        <translation>2 min</translation>
    </message>
    <message>
        <source>5분</source>
        <translation>5 min</translation>
    </message>
    <message>
        <source>10분</source>
        <translation>10 min</translation>
    </message>
    <message>
        <source>30분</source>
        <translation>30 min</translation>
    </message>
    <message>
        <source>Log 시작</source>
        <translation>Start log</translation>
    </message>
    <message>
        <source>저장</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>삭제</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>나가기</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>접속</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>조회/설정</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>이력</source>
        <translation>Logs</translation>
    </message>
    <message>
        <source>프로파일 (Profile)</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>시험</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>홈페이지</source>
        <translation>Home page</translation>
    </message>
    <message>
        <source>종료</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>연결하기</source>
        <translation>Connect...</translation>
    </message>
    <message>
        <source>연결끊기</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>로그인</source>
        <translation>Log in</translation>
    </message>
    <message>
        <source>로그아웃</source>
        <translation>Log out</translation>
    </message>
    <message>
        <source>운용/알람 설정</source>
        <translation>Operation and alarm settings</translation>
    </message>
    <message>
        <source>경보접점 설정</source>
        <translation>Alarm contacts</translation>
    </message>
    <message>
        <source>계측값 설정</source>
        <translation>Measurement calibration</translation>
    </message>
    <message>
        <source>날짜/시간 설정</source>
        <translation>Date and time</translation>
    </message>
    <message>
        <source>IP 설정</source>
        <translation>Network identity</translation>
    </message>
    <message>
        <source>공장 초기화 </source>
        <translation>Factory reset</translation>
    </message>
    <message>
        <source>알람 이력</source>
        <translation>Alarm history</translation>
    </message>
    <message>
        <source>이벤트 로그</source>
        <translation>Event log</translation>
    </message>
    <message>
        <source>이력 초기화</source>
        <translation>Clear logs</translation>
    </message>
    <message>
        <source>저장 (Save)...</source>
        <translation>Save...</translation>
    </message>
    <message>
        <source>제어기와 비교 (Compare with the plant)...</source>
        <translation>Compare with the plant...</translation>
    </message>
    <message>
        <source>파일끼리 비교 (Compare two files)...</source>
        <translation>Compare two files...</translation>
    </message>
    <message>
        <source>복원 (Restore)...</source>
        <translation>Restore...</translation>
    </message>
    <message>
        <source>경보 시험</source>
        <translation>Alarm test</translation>
    </message>
    <message>
        <source>케스트라</source>
        <translation>Kestra Tarvine</translation>
    </message>
    <message>
        <source>버전</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>프로토콜 모니터 (Protocol)</source>
        <translation>Protocol monitor</translation>
    </message>
    <message>
        <source>서비스 리포트 (Service report)...</source>
        <translation>Service report...</translation>
    </message>
    <message>
        <source>No controller is connected: connect first (접속 → 연결하기).</source>
        <translation>No controller is connected: connect first (Connection → Connect...).</translation>
    </message>
    <message>
        <source>Log 중지</source>
        <translation>Stop log</translation>
    </message>
    <message>
        <source>Trends</source>
        <translation>Trends</translation>
    </message>
    <message>
        <source>No reply</source>
        <translation>No reply</translation>
    </message>
    <message>
        <source>The data log holds %1 unsaved line(s)%2. Save them before leaving?</source>
        <translation>The data log holds %1 unsaved line(s)%2. Save them before leaving?</translation>
    </message>
    <message>
        <source>

License: GPL-3.0-or-later (see the LICENSE file).</source>
        <translation>

License: GPL-3.0-or-later (see the LICENSE file).</translation>
    </message>
    <message>
        <source>No web browser could be started for %1.</source>
        <translation>No web browser could be started for %1.</translation>
    </message>
    <message>
        <source>Delete the %1 line(s) of the data log? Unsaved lines are lost.</source>
        <translation>Delete the %1 line(s) of the data log? Unsaved lines are lost.</translation>
    </message>
    <message>
        <source>The data log is empty: nothing to save.</source>
        <translation>The data log is empty: nothing to save.</translation>
    </message>
    <message>
        <source>Saved </source>
        <translation>Saved </translation>
    </message>
    <message>
        <source>Not saved: </source>
        <translation>Not saved: </translation>
    </message>
    <message>
        <source>The data log could not be saved to %1: %2
Every line is kept and logging goes on.</source>
        <translation>The data log could not be saved to %1: %2
Every line is kept and logging goes on.</translation>
    </message>
    <message>
        <source>Firmware counter</source>
        <translation>Firmware counter</translation>
    </message>
    <message>
        <source>Not connected: </source>
        <translation>Not connected: </translation>
    </message>
    <message>
        <source>Connected to %1, but the controller does not reply.</source>
        <translation>Connected to %1, but the controller does not reply.</translation>
    </message>
    <message>
        <source>The data log of an earlier run was not saved: %1 line(s) from %2 to %3.

Save it now? Discard deletes it.</source>
        <translation>The data log of an earlier run was not saved: %1 line(s) from %2 to %3.

Save it now? Discard deletes it.</translation>
    </message>
    <message>
        <source>The recovered data log was not saved: %1
It is kept in %2.</source>
        <translation>The recovered data log was not saved: %1
It is kept in %2.</translation>
    </message>
    <message>
        <source>The data log has no journal: a crash would lose its unsaved lines.
</source>
        <translation>The data log has no journal: a crash would lose its unsaved lines.
</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation>Battery</translation>
    </message>
</context>
<context>
    <name>NetworkIdentityDialog</name>
    <message>
        <source>IP 설정</source>
        <translation>Network identity</translation>
    </message>
    <message>
        <source>설정</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>정류기 IP 주소</source>
        <translation>Rectifier IP address</translation>
    </message>
    <message>
        <source>GATEWAY</source>
        <translation>Gateway</translation>
    </message>
    <message>
        <source>SUBNET MASK</source>
        <translation>Subnet mask</translation>
    </message>
    <message>
        <source>Mac 주소</source>
        <translation>MAC address</translation>
    </message>
    <message>
        <source>HW 버전</source>
        <translation>HW version</translation>
    </message>
    <message>
        <source>Serial 번호</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>S/N : 10자리 + ; </source>
        <translation>S/N: 10 digits + ; </translation>
    </message>
    <message>
        <source>HW 설명</source>
        <translation>HW description</translation>
    </message>
    <message>
        <source>자동IP 설정</source>
        <translation>Automatic IP</translation>
    </message>
    <message>
        <source>정류기 ID</source>
        <translation>Rectifier ID</translation>
    </message>
    <message>
        <source>DU연동</source>
        <translation>From the DU</translation>
    </message>
    <message>
        <source>수동IP</source>
        <translation>Manual IP</translation>
    </message>
    <message>
        <source>고정 ID</source>
        <translation>Fixed ID</translation>
    </message>
    <message>
        <source>Site 정보 (이름을 변경할수 있음)</source>
        <translation>Site information (the name may be changed)</translation>
    </message>
    <message>
        <source>네트워크 정보</source>
        <translation>Network information</translation>
    </message>
    <message>
        <source>저장된 IP 주소</source>
        <translation>Stored IP address</translation>
    </message>
    <message>
        <source>저장된 MAC 주소</source>
        <translation>Stored MAC address</translation>
    </message>
    <message>
        <source>저장된 IP MAC 주소</source>
        <translation>Stored IP MAC address</translation>
    </message>
    <message>
        <source>저장된 정류기 ID</source>
        <translation>Stored rectifier ID</translation>
    </message>
    <message>
        <source>FW 버전</source>
        <translation>FW version</translation>
    </message>
    <message>
        <source>IP 리셋타임</source>
        <translation>IP reset time</translation>
    </message>
    <message>
        <source>조회</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>전체선택</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>전체해제</source>
        <translation>Clear all</translation>
    </message>
    <message>
        <source>기본값</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>설정</source>
        <comment>group of the identity fields</comment>
        <translation>Identity</translation>
    </message>
    <message>
        <source>설정</source>
        <comment>write the site text</comment>
        <translation>Write</translation>
    </message>
</context>
<context>
    <name>PowerFlowView</name>
    <message>
        <source>Power flow</source>
        <translation>Power flow</translation>
    </message>
</context>
<context>
    <name>ProfileCommands</name>
    <message>
        <source>프로파일 (Profile)</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>A profile command is still running.</source>
        <translation>A profile command is still running.</translation>
    </message>
    <message>
        <source>This file is not a profile that can be used; nothing was written.

</source>
        <translation>This file is not a profile that can be used; nothing was written.

</translation>
    </message>
    <message>
        <source>Save the plant&apos;s profile</source>
        <translation>Save the plant&apos;s profile</translation>
    </message>
    <message>
        <source>Compare a profile with the plant</source>
        <translation>Compare a profile with the plant</translation>
    </message>
    <message>
        <source>The first profile</source>
        <translation>The first profile</translation>
    </message>
    <message>
        <source>The profile to compare it with</source>
        <translation>The profile to compare it with</translation>
    </message>
    <message>
        <source>Restore a profile onto the plant</source>
        <translation>Restore a profile onto the plant</translation>
    </message>
    <message>
        <source>The profile was not saved: </source>
        <translation>The profile was not saved: </translation>
    </message>
    <message>
        <source>Profile saved: %1
%2 settings%3.</source>
        <translation>Profile saved: %1
%2 settings%3.</translation>
    </message>
    <message>
        <source>The plant already holds this profile&apos;s settings: nothing to write.</source>
        <translation>The plant already holds this profile&apos;s settings: nothing to write.</translation>
    </message>
    <message>
        <source>The restore stopped: </source>
        <translation>The restore stopped: </translation>
    </message>
    <message>
        <source>Profile: </source>
        <translation>Profile: </translation>
    </message>
    <message>
        <source>Reading the settings...</source>
        <translation>Reading the settings...</translation>
    </message>
    <message>
        <source>This profile was made for system type %1 (%2); this plant is %3 (%4).

Restore its settings anyway? Its network section is never written.</source>
        <translation>This profile was made for system type %1 (%2); this plant is %3 (%4).

Restore its settings anyway? Its network section is never written.</translation>
    </message>
    <message>
        <source>Writing the settings...</source>
        <translation>Writing the settings...</translation>
    </message>
</context>
<context>
    <name>ProfileCompareDialog</name>
    <message>
        <source>프로파일 비교 (Profile comparison)</source>
        <translation>Profile comparison</translation>
    </message>
    <message>
        <source>차이만 보기 (differences only)</source>
        <translation>Differences only</translation>
    </message>
    <message>
        <source>xlsx 저장 (Export)...</source>
        <translation>Export to xlsx...</translation>
    </message>
    <message>
        <source>field</source>
        <translation>field</translation>
    </message>
    <message>
        <source>unit</source>
        <translation>unit</translation>
    </message>
    <message>
        <source>register</source>
        <translation>register</translation>
    </message>
    <message>
        <source>Export the comparison</source>
        <translation>Export the comparison</translation>
    </message>
    <message>
        <source>%1 rows exported to %2</source>
        <translation>%1 rows exported to %2</translation>
    </message>
    <message>
        <source>The comparison was not exported: </source>
        <translation>The comparison was not exported: </translation>
    </message>
</context>
<context>
    <name>ProfilePreviewDialog</name>
    <message>
        <source>프로파일 복원 (Profile restore): writes to confirm</source>
        <translation>Profile restore: writes to confirm</translation>
    </message>
    <message>
        <source>네트워크 정보도 쓰기 (also write the addresses, rectifier ID and site text; writing an address can cut the link)</source>
        <translation>Also write the addresses, rectifier ID and site text (writing an address can cut the link)</translation>
    </message>
    <message>
        <source>쓰기 (Write)</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>field</source>
        <translation>field</translation>
    </message>
    <message>
        <source>unit</source>
        <translation>unit</translation>
    </message>
    <message>
        <source>register</source>
        <translation>register</translation>
    </message>
    <message>
        <source>plant now</source>
        <translation>plant now</translation>
    </message>
    <message>
        <source>after restore</source>
        <translation>after restore</translation>
    </message>
</context>
<context>
    <name>ProtocolPane</name>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Search bytes or meaning</source>
        <translation>Search bytes or meaning</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Save...</translation>
    </message>
    <message>
        <source>Record session...</source>
        <translation>Record session...</translation>
    </message>
    <message>
        <source>; %1 frames kept, %2 KiB</source>
        <translation>; %1 frames kept, %2 KiB</translation>
    </message>
    <message>
        <source>Save the frames shown</source>
        <translation>Save the frames shown</translation>
    </message>
    <message>
        <source>Saved </source>
        <translation>Saved </translation>
    </message>
    <message>
        <source>The session is not recorded: </source>
        <translation>The session is not recorded: </translation>
    </message>
    <message>
        <source>recording to </source>
        <translation>recording to </translation>
    </message>
    <message>
        <source>recorded %1 frames</source>
        <translation>recorded %1 frames</translation>
    </message>
    <message>
        <source>Record the session to</source>
        <translation>Record the session to</translation>
    </message>
    <message>
        <source>All frames</source>
        <translation>All frames</translation>
    </message>
    <message>
        <source>Polls</source>
        <translation>Polls</translation>
    </message>
    <message>
        <source>Writes</source>
        <translation>Writes</translation>
    </message>
    <message>
        <source>Transfers</source>
        <translation>Transfers</translation>
    </message>
    <message>
        <source>Errors only</source>
        <translation>Errors only</translation>
    </message>
    <message>
        <source>Last dropped: %1</source>
        <translation>Last dropped: %1</translation>
    </message>
    <message>
        <source>&apos;Errors only&apos; lists every dropped frame.</source>
        <translation>&apos;Errors only&apos; lists every dropped frame.</translation>
    </message>
    <message>
        <source>The frames were not saved: %1</source>
        <translation>The frames were not saved: %1</translation>
    </message>
</context>
<context>
    <name>Report</name>
    <message>
        <source>Service report </source>
        <translation>Service report </translation>
    </message>
    <message>
        <source>Battery V %1 to %2 (blue), A %3 to %4 (red), lowest cell V %5 to %6 (green); %7 s</source>
        <translation>Battery V %1 to %2 (blue), A %3 to %4 (red), lowest cell V %5 to %6 (green); %7 s</translation>
    </message>
</context>
<context>
    <name>ServiceReportDialog</name>
    <message>
        <source>서비스 리포트 (Service report)</source>
        <translation>Service report</translation>
    </message>
    <message>
        <source>What was done on site, what was found</source>
        <translation>What was done on site, what was found</translation>
    </message>
    <message>
        <source>Create...</source>
        <translation>Create...</translation>
    </message>
    <message>
        <source>Gathering the report: </source>
        <translation>Gathering the report: </translation>
    </message>
    <message>
        <source>The report was not made: </source>
        <translation>The report was not made: </translation>
    </message>
    <message>
        <source>Save the service report</source>
        <translation>Save the service report</translation>
    </message>
    <message>
        <source>The report was not saved: </source>
        <translation>The report was not saved: </translation>
    </message>
    <message>
        <source>Report saved: </source>
        <translation>Report saved: </translation>
    </message>
    <message>
        <source>Gathering the report</source>
        <translation>Gathering the report</translation>
    </message>
    <message>
        <source>DC, battery, AC and rectifier, cells</source>
        <translation>DC, battery, AC and rectifier, cells</translation>
    </message>
</context>
<context>
    <name>SetPointDialog</name>
    <message>
        <source>운용/알람 설정</source>
        <translation>Operation and alarm settings</translation>
    </message>
    <message>
        <source>알람설정</source>
        <translation>Alarm limits</translation>
    </message>
    <message>
        <source>AC 저전압 (150V ~ 200V)</source>
        <translation>AC low voltage (150 to 200 V)</translation>
    </message>
    <message>
        <source>AC 고전압 (250V ~ 290V)</source>
        <translation>AC high voltage (250 to 290 V)</translation>
    </message>
    <message>
        <source>DC 저전압 (43.0V ~ 50.0V) </source>
        <translation>DC low voltage (43.0 to 50.0 V) </translation>
    </message>
    <message>
        <source>DC 고전압 (53.0V ~ 59.0V) </source>
        <translation>DC high voltage (53.0 to 59.0 V) </translation>
    </message>
    <message>
        <source>축전지 저전압 (43.0V ~ 50.0V)</source>
        <translation>Battery low voltage (43.0 to 50.0 V)</translation>
    </message>
    <message>
        <source>DC 과전류 (40% ~ 120%)</source>
        <translation>DC overcurrent (40 to 120 %)</translation>
    </message>
    <message>
        <source>랙 고온(차단) ( 5.0C ~ 100.0 C)</source>
        <translation>Rack high temperature, shutdown (5.0 to 100.0 °C)</translation>
    </message>
    <message>
        <source>DC 차단 전압 (50.0V ~ 58.0V) </source>
        <translation>DC cut-off voltage (50.0 to 58.0 V) </translation>
    </message>
    <message>
        <source>축전지 운용설정 </source>
        <translation>Battery operation </translation>
    </message>
    <message>
        <source>리튬 충전전류제한 (0(OFF) 2,3A) </source>
        <translation>Lithium charge current limit (0 = off, 2 or 3 A) </translation>
    </message>
    <message>
        <source>리튬 종지전압 (40.0V ~ 45.9V)</source>
        <translation>Lithium cut-off voltage (40.0 to 45.9 V)</translation>
    </message>
    <message>
        <source>운용설정</source>
        <translation>Operation</translation>
    </message>
    <message>
        <source>출력전압 (43.0 ~ 56.0V)</source>
        <translation>Output voltage (43.0 to 56.0 V)</translation>
    </message>
    <message>
        <source>충전전류제한 (0(OFF), 1~ 4A) </source>
        <translation>Charge current limit (0 = off, 1 to 4 A) </translation>
    </message>
    <message>
        <source>충전모드</source>
        <translation>Charge mode</translation>
    </message>
    <message>
        <source>출력전압모드</source>
        <translation>Output voltage mode</translation>
    </message>
    <message>
        <source>온도보상모드</source>
        <translation>Temperature compensation</translation>
    </message>
    <message>
        <source>TEST 모드</source>
        <translation>Test mode</translation>
    </message>
    <message>
        <source>출력 고전압 상태</source>
        <translation>Output overvoltage state</translation>
    </message>
    <message>
        <source>미발생/해제</source>
        <translation>Normal / cleared</translation>
    </message>
    <message>
        <source>발생</source>
        <translation>Tripped</translation>
    </message>
    <message>
        <source>축전지 USE</source>
        <translation>Battery installed</translation>
    </message>
    <message>
        <source>미사용</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>사용</source>
        <translation>On</translation>
    </message>
    <message>
        <source>축전지 온도</source>
        <translation>Battery temperature sensor</translation>
    </message>
    <message>
        <source>Task Fail 카운트 리셋 </source>
        <translation>Reset the task fail count </translation>
    </message>
    <message>
        <source>축전지 방전시험</source>
        <translation>Battery discharge test</translation>
    </message>
    <message>
        <source>방전시험 주기 (OFF,1~12개월)</source>
        <translation>Discharge test period (off, 1 to 12 months)</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>OFF</translation>
    </message>
    <message>
        <source>시험시작 월 (1~12월)</source>
        <translation>Test start month (1 to 12)</translation>
    </message>
    <message>
        <source>시험시작 일 (1~28일)</source>
        <translation>Test start day (1 to 28)</translation>
    </message>
    <message>
        <source>시험시작 시간 (0 ~ 23시)</source>
        <translation>Test start hour (0 to 23)</translation>
    </message>
    <message>
        <source>방전전압 (43.0 ~ 53.3V)</source>
        <translation>Discharge end voltage (43.0 to 53.3 V)</translation>
    </message>
    <message>
        <source>방전시간 (1 ~ 120분) </source>
        <translation>Discharge time (1 to 120 min) </translation>
    </message>
    <message>
        <source>강제방전시험</source>
        <translation>Manual discharge test</translation>
    </message>
    <message>
        <source>시험 시작</source>
        <translation>Start test</translation>
    </message>
    <message>
        <source>시험 정지</source>
        <translation>Stop test</translation>
    </message>
    <message>
        <source>경보 Clear</source>
        <translation>Clear alarms</translation>
    </message>
    <message>
        <source>전체선택</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>기본값</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>설정</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>출력전압 (%1 ~ %2V)</source>
        <translation>Output voltage (%1 to %2 V)</translation>
    </message>
    <message>
        <source>%1 was outside the range and was changed to %2.</source>
        <translation>%1 was outside the range and was changed to %2.</translation>
    </message>
    <message>
        <source>These values were outside their range and were changed to fit it:</source>
        <translation>These values were outside their range and were changed to fit it:</translation>
    </message>
    <message>
        <source>Write the changed values?</source>
        <translation>Write the changed values?</translation>
    </message>
    <message>
        <source>Nothing was ticked: nothing was written.</source>
        <translation>Nothing was ticked: nothing was written.</translation>
    </message>
</context>
<context>
    <name>TrendView</name>
    <message>
        <source>Follow</source>
        <translation>Follow</translation>
    </message>
    <message>
        <source>Follow the newest sample (off: paused)</source>
        <translation>Follow the newest sample (off: paused)</translation>
    </message>
    <message>
        <source>Reset zoom</source>
        <translation>Reset zoom</translation>
    </message>
    <message>
        <source>PNG...</source>
        <translation>PNG...</translation>
    </message>
    <message>
        <source>CSV...</source>
        <translation>CSV...</translation>
    </message>
    <message>
        <source>Open data log...</source>
        <translation>Open data log...</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>Live</translation>
    </message>
    <message>
        <source>The data log was not opened.

</source>
        <translation>The data log was not opened.

</translation>
    </message>
    <message>
        <source>The trend data was not saved: </source>
        <translation>The trend data was not saved: </translation>
    </message>
    <message>
        <source>Open a data log</source>
        <translation>Open a data log</translation>
    </message>
    <message>
        <source>Save the charts as an image</source>
        <translation>Save the charts as an image</translation>
    </message>
    <message>
        <source>Save the shown data as CSV</source>
        <translation>Save the shown data as CSV</translation>
    </message>
    <message>
        <source>The image was not saved: </source>
        <translation>The image was not saved: </translation>
    </message>
    <message>
        <source>Saved </source>
        <translation>Saved </translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 to %2</translation>
    </message>
    <message>
        <source>DC output</source>
        <translation>DC output</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation>Battery</translation>
    </message>
    <message>
        <source>AC input and rectifier</source>
        <translation>AC input and rectifier</translation>
    </message>
    <message>
        <source>Cells</source>
        <translation>Cells</translation>
    </message>
    <message>
        <source>spread V</source>
        <translation>spread V</translation>
    </message>
    <message>
        <source>Cell %1</source>
        <translation>Cell %1</translation>
    </message>
    <message>
        <source>DC voltage</source>
        <translation>DC voltage</translation>
    </message>
    <message>
        <source>DC current</source>
        <translation>DC current</translation>
    </message>
    <message>
        <source>Battery voltage</source>
        <translation>Battery voltage</translation>
    </message>
    <message>
        <source>Battery current</source>
        <translation>Battery current</translation>
    </message>
    <message>
        <source>Battery temperature</source>
        <translation>Battery temperature</translation>
    </message>
    <message>
        <source>AC voltage</source>
        <translation>AC voltage</translation>
    </message>
    <message>
        <source>AC current</source>
        <translation>AC current</translation>
    </message>
    <message>
        <source>Rectifier temperature</source>
        <translation>Rectifier temperature</translation>
    </message>
    <message>
        <source>Cell spread (max - min)</source>
        <translation>Cell spread (max - min)</translation>
    </message>
    <message>
        <source>spread</source>
        <translation>spread</translation>
    </message>
    <message>
        <source>5 min</source>
        <translation>5 min</translation>
    </message>
    <message>
        <source>1 h</source>
        <translation>1 h</translation>
    </message>
    <message>
        <source>8 h</source>
        <translation>8 h</translation>
    </message>
    <message>
        <source>24 h</source>
        <translation>24 h</translation>
    </message>
    <message>
        <source>the image could not be made</source>
        <translation>the image could not be made</translation>
    </message>
</context>
</TS>
