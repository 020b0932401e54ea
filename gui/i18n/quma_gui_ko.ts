<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko" sourcelanguage="en">
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
        <translation>Save File</translation>
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
        <translation>경보 시험</translation>
    </message>
    <message>
        <source>경보시험 </source>
        <translation>경보시험 </translation>
    </message>
    <message>
        <source>미사용</source>
        <translation>미사용</translation>
    </message>
    <message>
        <source>사용</source>
        <translation>사용</translation>
    </message>
    <message>
        <source>경보시험 설정 내용</source>
        <translation>경보시험 설정 내용</translation>
    </message>
    <message>
        <source>AC 경보</source>
        <translation>AC 경보</translation>
    </message>
    <message>
        <source>DC 고전압</source>
        <translation>DC 고전압</translation>
    </message>
    <message>
        <source>DC 저전압</source>
        <translation>DC 저전압</translation>
    </message>
    <message>
        <source>DC 과전류</source>
        <translation>DC 과전류</translation>
    </message>
    <message>
        <source>모듈 경보</source>
        <translation>모듈 경보</translation>
    </message>
    <message>
        <source>축전지 경보</source>
        <translation>축전지 경보</translation>
    </message>
    <message>
        <source>축전지 저전압</source>
        <translation>축전지 저전압</translation>
    </message>
    <message>
        <source>모듈 고온</source>
        <translation>모듈 고온</translation>
    </message>
    <message>
        <source>축전지 셀</source>
        <translation>축전지 셀</translation>
    </message>
    <message>
        <source>설정</source>
        <translation>설정</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>닫기</translation>
    </message>
    <message>
        <source>경보시험 : choose 미사용 or 사용.</source>
        <translation>경보시험 : 미사용 또는 사용을 선택하십시오.</translation>
    </message>
</context>
<context>
    <name>BatteryTab</name>
    <message>
        <source>Discharge test</source>
        <translation>방전시험</translation>
    </message>
    <message>
        <source>Tests of this plant</source>
        <translation>이 설비의 시험</translation>
    </message>
    <message>
        <source>Cells: distance from the mean of the 15</source>
        <translation>셀: 15개 평균과의 차이</translation>
    </message>
    <message>
        <source>Start test...</source>
        <translation>시험 시작...</translation>
    </message>
    <message>
        <source>Stop test</source>
        <translation>시험 정지</translation>
    </message>
    <message>
        <source>Start a forced discharge test (register 92)</source>
        <translation>강제 방전시험 시작 (레지스터 92)</translation>
    </message>
    <message>
        <source>No test running.</source>
        <translation>진행 중인 시험이 없습니다.</translation>
    </message>
    <message>
        <source>Test running: %1 of %2 min</source>
        <translation>시험 중: %2분 중 %1분</translation>
    </message>
    <message>
        <source>%1 Ah delivered</source>
        <translation>방전량 %1 Ah</translation>
    </message>
    <message>
        <source>%1 V, %2 A; cells %3 to %4 V</source>
        <translation>%1 V, %2 A; 셀 %3 ~ %4 V</translation>
    </message>
    <message>
        <source>End voltage %1 V: not in sight</source>
        <translation>방전전압 %1 V: 도달 예상 없음</translation>
    </message>
    <message>
        <source>End voltage %1 V in about %2 min</source>
        <translation>방전전압 %1 V까지 약 %2분</translation>
    </message>
    <message>
        <source>No cell stays apart from the others.</source>
        <translation>다른 셀과 벌어진 셀이 없습니다.</translation>
    </message>
    <message>
        <source>Apart from the others for %1 min or more: %2</source>
        <translation>%1분 이상 다른 셀과 벌어진 셀: %2</translation>
    </message>
    <message>
        <source>A discharge test makes the battery carry the plant&apos;s load: the rectifiers stand back until the test ends after %1 min or at the end voltage of %2 V. A weak battery may leave the load without power.

Start the test?</source>
        <translation>방전시험 동안에는 축전지가 설비의 부하를 맡고 정류기는 물러납니다. 시험은 %1분이 지나거나 방전전압 %2 V에 도달하면 끝납니다. 축전지가 약하면 부하 전원이 끊길 수 있습니다.

시험을 시작하시겠습니까?</translation>
    </message>
    <message>
        <source>The console is busy with another command: try again when it has finished.</source>
        <translation>다른 명령을 처리 중입니다: 끝난 뒤 다시 시도하십시오.</translation>
    </message>
    <message>
        <source>The controller did not confirm the test command: look at the Battery tab to see whether a test runs.</source>
        <translation>제어기가 시험 명령을 확인하지 않았습니다: 축전지 탭에서 시험이 진행 중인지 확인하십시오.</translation>
    </message>
</context>
<context>
    <name>CalibrationDialog</name>
    <message>
        <source>계측값 설정</source>
        <translation>계측값 설정</translation>
    </message>
    <message>
        <source>계측설정</source>
        <translation>계측설정</translation>
    </message>
    <message>
        <source>AC 전압</source>
        <translation>AC 전압</translation>
    </message>
    <message>
        <source>V</source>
        <translation>V</translation>
    </message>
    <message>
        <source>AC 전류</source>
        <translation>AC 전류</translation>
    </message>
    <message>
        <source>A</source>
        <translation>A</translation>
    </message>
    <message>
        <source>DC 전압</source>
        <translation>DC 전압</translation>
    </message>
    <message>
        <source>DC 전류</source>
        <translation>DC 전류</translation>
    </message>
    <message>
        <source>Battery 전류 (+)</source>
        <translation>Battery 전류 (+)</translation>
    </message>
    <message>
        <source>Battery 전류 (-)</source>
        <translation>Battery 전류 (-)</translation>
    </message>
    <message>
        <source>영점</source>
        <translation>영점</translation>
    </message>
    <message>
        <source>설정</source>
        <translation>설정</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>닫기</translation>
    </message>
</context>
<context>
    <name>ClockDialog</name>
    <message>
        <source>날짜/시간 설정</source>
        <translation>날짜/시간 설정</translation>
    </message>
    <message>
        <source>년</source>
        <translation>년</translation>
    </message>
    <message>
        <source>월</source>
        <translation>월</translation>
    </message>
    <message>
        <source>시</source>
        <translation>시</translation>
    </message>
    <message>
        <source>분</source>
        <translation>분</translation>
    </message>
    <message>
        <source>초</source>
        <translation>초</translation>
    </message>
    <message>
        <source>현재 날짜/시간</source>
        <translation>현재 날짜/시간</translation>
    </message>
    <message>
        <source>설정</source>
        <translation>설정</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>닫기</translation>
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
        <translation>Now Closing... Plase, wait 5~20 Seconds!!</translation>
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
        <translation>Port Refind</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Serial port</source>
        <translation>시리얼 포트</translation>
    </message>
    <message>
        <source>Controller address</source>
        <translation>제어기 주소</translation>
    </message>
    <message>
        <source>host or host:port (port 502 when none is given)</source>
        <translation>호스트 또는 호스트:포트 (포트가 없으면 502)</translation>
    </message>
    <message>
        <source>Look for serial ports again (F5)</source>
        <translation>시리얼 포트 다시 찾기 (F5)</translation>
    </message>
    <message>
        <source>Please, Check PC Lan Port Connection!</source>
        <translation>Please, Check PC Lan Port Connection!</translation>
    </message>
    <message>
        <source>TCP/IP %1: %2</source>
        <translation>TCP/IP %1: %2</translation>
    </message>
    <message>
        <source>No serial port found.</source>
        <translation>시리얼 포트가 없습니다.</translation>
    </message>
    <message>
        <source>Can not find the serial port</source>
        <translation>Can not find the serial port</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>취소</translation>
    </message>
    <message>
        <source>Connecting to </source>
        <translation>연결 중: </translation>
    </message>
    <message numerus="yes">
        <source>Found %n serial port(s): %1</source>
        <translation>
            <numerusform>시리얼 포트 %n개를 찾았습니다: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (no permission)</source>
        <translation>%1 (권한 없음)</translation>
    </message>
</context>
<context>
    <name>ContactAlarmView</name>
    <message>
        <source>경보접점 알람</source>
        <translation>경보접점 알람</translation>
    </message>
    <message>
        <source>AC 경보</source>
        <translation>AC 경보</translation>
    </message>
    <message>
        <source>DC 고전압</source>
        <translation>DC 고전압</translation>
    </message>
    <message>
        <source>DC 저전압</source>
        <translation>DC 저전압</translation>
    </message>
    <message>
        <source>DC 과전류</source>
        <translation>DC 과전류</translation>
    </message>
    <message>
        <source>모듈 경보</source>
        <translation>모듈 경보</translation>
    </message>
    <message>
        <source>축전지 경보</source>
        <translation>축전지 경보</translation>
    </message>
    <message>
        <source>축전지 저전압</source>
        <translation>축전지 저전압</translation>
    </message>
    <message>
        <source>모듈 고온</source>
        <translation>모듈 고온</translation>
    </message>
    <message>
        <source>축전지 셀</source>
        <translation>축전지 셀</translation>
    </message>
</context>
<context>
    <name>ContactDefinitionDialog</name>
    <message>
        <source>경보접점 알람설정</source>
        <translation>경보접점 알람설정</translation>
    </message>
    <message>
        <source>AC 경보</source>
        <translation>AC 경보</translation>
    </message>
    <message>
        <source>DC 고전압</source>
        <translation>DC 고전압</translation>
    </message>
    <message>
        <source>DC 저전압</source>
        <translation>DC 저전압</translation>
    </message>
    <message>
        <source>DC 과전류</source>
        <translation>DC 과전류</translation>
    </message>
    <message>
        <source>모듈 경보</source>
        <translation>모듈 경보</translation>
    </message>
    <message>
        <source>축전지 경보</source>
        <translation>축전지 경보</translation>
    </message>
    <message>
        <source>축전지 저전압</source>
        <translation>축전지 저전압</translation>
    </message>
    <message>
        <source>모듈 고온</source>
        <translation>모듈 고온</translation>
    </message>
    <message>
        <source>축전지 셀</source>
        <translation>축전지 셀</translation>
    </message>
    <message>
        <source>기본값</source>
        <translation>기본값</translation>
    </message>
    <message>
        <source>선택해제</source>
        <translation>선택해제</translation>
    </message>
    <message>
        <source>설정</source>
        <translation>설정</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>닫기</translation>
    </message>
</context>
<context>
    <name>ContactSettingsDialog</name>
    <message>
        <source>경보접점 설정</source>
        <translation>경보접점 설정</translation>
    </message>
    <message>
        <source>경보접점 세부알람 설정</source>
        <translation>경보접점 세부알람 설정</translation>
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
        <translation>예비 1</translation>
    </message>
    <message>
        <source>예비 2</source>
        <translation>예비 2</translation>
    </message>
    <message>
        <source>경보접점 상태</source>
        <translation>경보접점 상태</translation>
    </message>
    <message>
        <source>정상 Open</source>
        <translation>정상 Open</translation>
    </message>
    <message>
        <source>정상 Close</source>
        <translation>정상 Close</translation>
    </message>
    <message>
        <source>경보송출 타입</source>
        <translation>경보송출 타입</translation>
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
        <translation>설정</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>닫기</translation>
    </message>
    <message>
        <source>%1: choose an item from the list.</source>
        <translation>%1: 목록에서 항목을 선택하십시오.</translation>
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
        <translation>Save File</translation>
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
        <translation>공장초기화 </translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Config 초기화</source>
        <translation>Config 초기화</translation>
    </message>
    <message>
        <source>설정 </source>
        <translation>설정 </translation>
    </message>
    <message>
        <source>나가기 </source>
        <translation>나가기 </translation>
    </message>
    <message>
        <source>%1: the controller is reset. Go on?</source>
        <translation>%1: 제어기가 초기화됩니다. 계속하시겠습니까?</translation>
    </message>
</context>
<context>
    <name>HistoryClearDialog</name>
    <message>
        <source>이력 초기화</source>
        <translation>이력 초기화</translation>
    </message>
    <message>
        <source>알람이력 초기화</source>
        <translation>알람이력 초기화</translation>
    </message>
    <message>
        <source>이벤트로그 초기화</source>
        <translation>이벤트로그 초기화</translation>
    </message>
    <message>
        <source>설정</source>
        <translation>설정</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>닫기</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <source>Save CSV</source>
        <translation>CSV 저장</translation>
    </message>
    <message>
        <source>The controller did not answer the request for the number of records.</source>
        <translation>제어기가 기록 수 요청에 응답하지 않았습니다.</translation>
    </message>
    <message>
        <source>Record %1 of %2 could not be read: the controller did not answer.</source>
        <translation>%2건 중 %1번째 기록을 읽지 못했습니다: 제어기가 응답하지 않았습니다.</translation>
    </message>
    <message>
        <source>No reply</source>
        <translation>응답 없음</translation>
    </message>
    <message>
        <source>Record %1 not read</source>
        <translation>%1번째 기록 읽지 못함</translation>
    </message>
    <message>
        <source>It was asked for %1 times.</source>
        <translation>%1번 요청했습니다.</translation>
    </message>
    <message>
        <source>Retry asks again; Cancel leaves the window as it is.</source>
        <translation>다시 시도하면 다시 요청합니다. 취소하면 창을 그대로 둡니다.</translation>
    </message>
    <message>
        <source>Retry asks again; Save keeps the %1 records that arrived.</source>
        <translation>다시 시도하면 다시 요청합니다. 저장하면 받은 %1건을 저장합니다.</translation>
    </message>
    <message>
        <source>CSV file (*.csv)</source>
        <translation>CSV 파일 (*.csv)</translation>
    </message>
    <message>
        <source>Spreadsheet (*.xlsx)</source>
        <translation>스프레드시트 (*.xlsx)</translation>
    </message>
    <message>
        <source>Save the table</source>
        <translation>표 저장</translation>
    </message>
    <message>
        <source>Saved </source>
        <translation>저장했습니다: </translation>
    </message>
    <message>
        <source>The CSV file could not be written: </source>
        <translation>CSV 파일을 쓰지 못했습니다: </translation>
    </message>
    <message>
        <source>The spreadsheet could not be written: </source>
        <translation>스프레드시트를 쓰지 못했습니다: </translation>
    </message>
</context>
<context>
    <name>LoginDialog</name>
    <message>
        <source>로그인</source>
        <translation>로그인</translation>
    </message>
    <message>
        <source>ID </source>
        <translation>ID </translation>
    </message>
    <message>
        <source>암호</source>
        <translation>암호</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>닫기</translation>
    </message>
    <message>
        <source> Please try again </source>
        <translation> Please try again </translation>
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
        <translation>먼저 로그인하십시오: 접속 → 로그인</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>경보</translation>
    </message>
    <message>
        <source>경보시험 완료시 경보시험 미사용으로 반드시 설정바랍니다.</source>
        <translation>경보시험 완료시 경보시험 미사용으로 반드시 설정바랍니다.</translation>
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
        <translation>측정값</translation>
    </message>
    <message>
        <source>AC전압 : </source>
        <translation>AC전압 : </translation>
    </message>
    <message>
        <source>AC전류 : </source>
        <translation>AC전류 : </translation>
    </message>
    <message>
        <source>DC전압 : </source>
        <translation>DC전압 : </translation>
    </message>
    <message>
        <source>DC전류 : </source>
        <translation>DC전류 : </translation>
    </message>
    <message>
        <source>Battery전류 : </source>
        <translation>Battery전류 : </translation>
    </message>
    <message>
        <source>Battery온도 : </source>
        <translation>Battery온도 : </translation>
    </message>
    <message>
        <source>정류기온도 : </source>
        <translation>정류기온도 : </translation>
    </message>
    <message>
        <source>설정전압 : </source>
        <translation>설정전압 : </translation>
    </message>
    <message>
        <source>축전지 방전시험 중</source>
        <translation>축전지 방전시험 중</translation>
    </message>
    <message>
        <source>경보접점 알람</source>
        <translation>경보접점 알람</translation>
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
        <translation>예비 1</translation>
    </message>
    <message>
        <source>예비 2</source>
        <translation>예비 2</translation>
    </message>
    <message>
        <source>축전지 정보</source>
        <translation>축전지 정보</translation>
    </message>
    <message>
        <source>FW : </source>
        <translation>FW : </translation>
    </message>
    <message>
        <source>전압 : </source>
        <translation>전압 : </translation>
    </message>
    <message>
        <source>전류 : </source>
        <translation>전류 : </translation>
    </message>
    <message>
        <source>잔량 : </source>
        <translation>잔량 : </translation>
    </message>
    <message>
        <source>온도 : </source>
        <translation>온도 : </translation>
    </message>
    <message>
        <source>종지 전압 : </source>
        <translation>종지 전압 : </translation>
    </message>
    <message>
        <source>전류 제한 : </source>
        <translation>전류 제한 : </translation>
    </message>
    <message>
        <source>축전지-NFB : </source>
        <translation>축전지-NFB : </translation>
    </message>
    <message>
        <source>보호</source>
        <translation>보호</translation>
    </message>
    <message>
        <source>충전과전압 차단</source>
        <translation>충전과전압 차단</translation>
    </message>
    <message>
        <source>충전과전류 차단</source>
        <translation>충전과전류 차단</translation>
    </message>
    <message>
        <source>방전저전압 차단 (축전지NFB OFF)</source>
        <translation>방전저전압 차단 (축전지NFB OFF)</translation>
    </message>
    <message>
        <source>방전과전류 차단</source>
        <translation>방전과전류 차단</translation>
    </message>
    <message>
        <source>고온 차단</source>
        <translation>고온 차단</translation>
    </message>
    <message>
        <source>저온 차단</source>
        <translation>저온 차단</translation>
    </message>
    <message>
        <source>셀편차 차단</source>
        <translation>셀편차 차단</translation>
    </message>
    <message>
        <source>알람</source>
        <translation>알람</translation>
    </message>
    <message>
        <source>과전압경보</source>
        <translation>과전압경보</translation>
    </message>
    <message>
        <source>과전류 경보</source>
        <translation>과전류 경보</translation>
    </message>
    <message>
        <source>셀편차 경보</source>
        <translation>셀편차 경보</translation>
    </message>
    <message>
        <source>예약1</source>
        <translation>예약1</translation>
    </message>
    <message>
        <source>예약2</source>
        <translation>예약2</translation>
    </message>
    <message>
        <source>방전저전압 경보</source>
        <translation>방전저전압 경보</translation>
    </message>
    <message>
        <source>방전과전류 경보</source>
        <translation>방전과전류 경보</translation>
    </message>
    <message>
        <source>고온 경보</source>
        <translation>고온 경보</translation>
    </message>
    <message>
        <source>저온 경보</source>
        <translation>저온 경보</translation>
    </message>
    <message>
        <source>셀 발란싱</source>
        <translation>셀 발란싱</translation>
    </message>
    <message>
        <source>셀전압1 : </source>
        <translation>셀전압1 : </translation>
    </message>
    <message>
        <source>셀전압2 : </source>
        <translation>셀전압2 : </translation>
    </message>
    <message>
        <source>셀전압3 : </source>
        <translation>셀전압3 : </translation>
    </message>
    <message>
        <source>셀전압4 : </source>
        <translation>셀전압4 : </translation>
    </message>
    <message>
        <source>셀전압5 : </source>
        <translation>셀전압5 : </translation>
    </message>
    <message>
        <source>셀전압6 : </source>
        <translation>셀전압6 : </translation>
    </message>
    <message>
        <source>셀전압7 : </source>
        <translation>셀전압7 : </translation>
    </message>
    <message>
        <source>셀전압8 : </source>
        <translation>셀전압8 : </translation>
    </message>
    <message>
        <source>셀전압9 : </source>
        <translation>셀전압9 : </translation>
    </message>
    <message>
        <source>셀전압10 : </source>
        <translation>셀전압10 : </translation>
    </message>
    <message>
        <source>셀전압11 : </source>
        <translation>셀전압11 : </translation>
    </message>
    <message>
        <source>셀전압12 : </source>
        <translation>셀전압12 : </translation>
    </message>
    <message>
        <source>셀전압13 : </source>
        <translation>셀전압13 : </translation>
    </message>
    <message>
        <source>셀전압14 : </source>
        <translation>셀전압14 : </translation>
    </message>
    <message>
        <source>셀전압15 : </source>
        <translation>셀전압15 : </translation>
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
        <translation>log</translation>
    </message>
    <message>
        <source>Service</source>
        <translation>서비스</translation>
    </message>
    <message>
        <source>Ethernet 설정</source>
        <translation>Ethernet 설정</translation>
    </message>
    <message>
        <source>Ethernet 속도</source>
        <translation>Ethernet 속도</translation>
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
        <translation>2초</translation>
    </message>
    <message>
        <source>10초</source>
        <translation>10초</translation>
    </message>
    <message>
        <source>1분</source>
        <translation>1분</translation>
    </message>
    <message>
        <source>2분</source>
        <translation>2분</translation>
    </message>
    <message>
        <source>5분</source>
        <translation>5분</translation>
    </message>
    <message>
        <source>10분</source>
        <translation>10분</translation>
    </message>
    <message>
        <source>30분</source>
        <translation>30분</translation>
    </message>
    <message>
        <source>Log 시작</source>
        <translation>Log 시작</translation>
    </message>
    <message>
        <source>저장</source>
        <translation>저장</translation>
    </message>
    <message>
        <source>삭제</source>
        <translation>삭제</translation>
    </message>
    <message>
        <source>나가기</source>
        <translation>나가기</translation>
    </message>
    <message>
        <source>접속</source>
        <translation>접속</translation>
    </message>
    <message>
        <source>조회/설정</source>
        <translation>조회/설정</translation>
    </message>
    <message>
        <source>이력</source>
        <translation>이력</translation>
    </message>
    <message>
        <source>프로파일 (Profile)</source>
        <translation>프로파일 (Profile)</translation>
    </message>
    <message>
        <source>시험</source>
        <translation>시험</translation>
    </message>
    <message>
        <source>홈페이지</source>
        <translation>홈페이지</translation>
    </message>
    <message>
        <source>종료</source>
        <translation>종료</translation>
    </message>
    <message>
        <source>연결하기</source>
        <translation>연결하기</translation>
    </message>
    <message>
        <source>연결끊기</source>
        <translation>연결끊기</translation>
    </message>
    <message>
        <source>로그인</source>
        <translation>로그인</translation>
    </message>
    <message>
        <source>로그아웃</source>
        <translation>로그아웃</translation>
    </message>
    <message>
        <source>운용/알람 설정</source>
        <translation>운용/알람 설정</translation>
    </message>
    <message>
        <source>경보접점 설정</source>
        <translation>경보접점 설정</translation>
    </message>
    <message>
        <source>계측값 설정</source>
        <translation>계측값 설정</translation>
    </message>
    <message>
        <source>날짜/시간 설정</source>
        <translation>날짜/시간 설정</translation>
    </message>
    <message>
        <source>IP 설정</source>
        <translation>IP 설정</translation>
    </message>
    <message>
        <source>공장 초기화 </source>
        <translation>공장 초기화 </translation>
    </message>
    <message>
        <source>알람 이력</source>
        <translation>알람 이력</translation>
    </message>
    <message>
        <source>이벤트 로그</source>
        <translation>이벤트 로그</translation>
    </message>
    <message>
        <source>이력 초기화</source>
        <translation>이력 초기화</translation>
    </message>
    <message>
        <source>저장 (Save)...</source>
        <translation>저장 (Save)...</translation>
    </message>
    <message>
        <source>제어기와 비교 (Compare with the plant)...</source>
        <translation>제어기와 비교...</translation>
    </message>
    <message>
        <source>파일끼리 비교 (Compare two files)...</source>
        <translation>파일끼리 비교...</translation>
    </message>
    <message>
        <source>복원 (Restore)...</source>
        <translation>복원 (Restore)...</translation>
    </message>
    <message>
        <source>경보 시험</source>
        <translation>경보 시험</translation>
    </message>
    <message>
        <source>케스트라</source>
        <translation>케스트라</translation>
    </message>
    <message>
        <source>버전</source>
        <translation>버전</translation>
    </message>
    <message>
        <source>Firmware counter</source>
        <translation>펌웨어 카운터</translation>
    </message>
    <message>
        <source>Trends</source>
        <translation>트렌드</translation>
    </message>
    <message>
        <source>프로토콜 모니터 (Protocol)</source>
        <translation>프로토콜 모니터 (Protocol)</translation>
    </message>
    <message>
        <source>서비스 리포트 (Service report)...</source>
        <translation>서비스 리포트...</translation>
    </message>
    <message>
        <source>Log 중지</source>
        <translation>Log 중지</translation>
    </message>
    <message>
        <source>No controller is connected: connect first (접속 → 연결하기).</source>
        <translation>연결된 제어기가 없습니다: 먼저 연결하십시오 (접속 → 연결하기).</translation>
    </message>
    <message>
        <source>Not connected: </source>
        <translation>연결 안 됨: </translation>
    </message>
    <message>
        <source>No reply</source>
        <translation>응답 없음</translation>
    </message>
    <message>
        <source>Connected to %1, but the controller does not reply.</source>
        <translation>%1에 연결했지만 제어기가 응답하지 않습니다.</translation>
    </message>
    <message>
        <source>The data log holds %1 unsaved line(s)%2. Save them before leaving?</source>
        <translation>데이터 로그에 저장하지 않은 %1줄이 있습니다%2. 종료하기 전에 저장하시겠습니까?</translation>
    </message>
    <message>
        <source>

License: GPL-3.0-or-later (see the LICENSE file).</source>
        <translation>

라이선스: GPL-3.0-or-later (LICENSE 파일 참조).</translation>
    </message>
    <message>
        <source>No web browser could be started for %1.</source>
        <translation>%1을(를) 열 웹 브라우저를 시작하지 못했습니다.</translation>
    </message>
    <message>
        <source>Delete the %1 line(s) of the data log? Unsaved lines are lost.</source>
        <translation>데이터 로그 %1줄을 지우시겠습니까? 저장하지 않은 줄은 없어집니다.</translation>
    </message>
    <message>
        <source>The data log is empty: nothing to save.</source>
        <translation>데이터 로그가 비어 있어 저장할 것이 없습니다.</translation>
    </message>
    <message>
        <source>Saved </source>
        <translation>저장했습니다: </translation>
    </message>
    <message>
        <source>Not saved: </source>
        <translation>저장하지 못함: </translation>
    </message>
    <message>
        <source>The data log could not be saved to %1: %2
Every line is kept and logging goes on.</source>
        <translation>데이터 로그를 %1에 저장하지 못했습니다: %2
모든 줄은 남아 있고 기록은 계속됩니다.</translation>
    </message>
    <message>
        <source>The data log of an earlier run was not saved: %1 line(s) from %2 to %3.

Save it now? Discard deletes it.</source>
        <translation>이전 실행의 데이터 로그가 저장되지 않았습니다: %2부터 %3까지 %1줄.

지금 저장하시겠습니까? 버리면 삭제됩니다.</translation>
    </message>
    <message>
        <source>The recovered data log was not saved: %1
It is kept in %2.</source>
        <translation>복구한 데이터 로그를 저장하지 못했습니다: %1
%2에 보관합니다.</translation>
    </message>
    <message>
        <source>The data log has no journal: a crash would lose its unsaved lines.
</source>
        <translation>데이터 로그 저널이 없습니다: 비정상 종료 시 저장하지 않은 줄을 잃습니다.
</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation>축전지</translation>
    </message>
</context>
<context>
    <name>NetworkIdentityDialog</name>
    <message>
        <source>IP 설정</source>
        <translation>IP 설정</translation>
    </message>
    <message>
        <source>설정</source>
        <comment>group of the identity fields</comment>
        <translation>설정</translation>
    </message>
    <message>
        <source>정류기 IP 주소</source>
        <translation>정류기 IP 주소</translation>
    </message>
    <message>
        <source>GATEWAY</source>
        <translation>GATEWAY</translation>
    </message>
    <message>
        <source>SUBNET MASK</source>
        <translation>SUBNET MASK</translation>
    </message>
    <message>
        <source>Mac 주소</source>
        <translation>Mac 주소</translation>
    </message>
    <message>
        <source>HW 버전</source>
        <translation>HW 버전</translation>
    </message>
    <message>
        <source>Serial 번호</source>
        <translation>Serial 번호</translation>
    </message>
    <message>
        <source>S/N : 10자리 + ; </source>
        <translation>S/N : 10자리 + ; </translation>
    </message>
    <message>
        <source>HW 설명</source>
        <translation>HW 설명</translation>
    </message>
    <message>
        <source>자동IP 설정</source>
        <translation>자동IP 설정</translation>
    </message>
    <message>
        <source>정류기 ID</source>
        <translation>정류기 ID</translation>
    </message>
    <message>
        <source>DU연동</source>
        <translation>DU연동</translation>
    </message>
    <message>
        <source>수동IP</source>
        <translation>수동IP</translation>
    </message>
    <message>
        <source>고정 ID</source>
        <translation>고정 ID</translation>
    </message>
    <message>
        <source>Site 정보 (이름을 변경할수 있음)</source>
        <translation>Site 정보 (이름을 변경할수 있음)</translation>
    </message>
    <message>
        <source>설정</source>
        <comment>write the site text</comment>
        <translation>설정</translation>
    </message>
    <message>
        <source>네트워크 정보</source>
        <translation>네트워크 정보</translation>
    </message>
    <message>
        <source>저장된 IP 주소</source>
        <translation>저장된 IP 주소</translation>
    </message>
    <message>
        <source>저장된 MAC 주소</source>
        <translation>저장된 MAC 주소</translation>
    </message>
    <message>
        <source>저장된 IP MAC 주소</source>
        <translation>저장된 IP MAC 주소</translation>
    </message>
    <message>
        <source>저장된 정류기 ID</source>
        <translation>저장된 정류기 ID</translation>
    </message>
    <message>
        <source>FW 버전</source>
        <translation>FW 버전</translation>
    </message>
    <message>
        <source>IP 리셋타임</source>
        <translation>IP 리셋타임</translation>
    </message>
    <message>
        <source>조회</source>
        <translation>조회</translation>
    </message>
    <message>
        <source>전체선택</source>
        <translation>전체선택</translation>
    </message>
    <message>
        <source>전체해제</source>
        <translation>전체해제</translation>
    </message>
    <message>
        <source>기본값</source>
        <translation>기본값</translation>
    </message>
    <message>
        <source>설정</source>
        <translation>설정</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>닫기</translation>
    </message>
</context>
<context>
    <name>PowerFlowView</name>
    <message>
        <source>Power flow</source>
        <translation>전력 흐름</translation>
    </message>
</context>
<context>
    <name>ProfileCommands</name>
    <message>
        <source>A profile command is still running.</source>
        <translation>프로파일 명령이 아직 진행 중입니다.</translation>
    </message>
    <message>
        <source>프로파일 (Profile)</source>
        <translation>프로파일 (Profile)</translation>
    </message>
    <message>
        <source>This file is not a profile that can be used; nothing was written.

</source>
        <translation>사용할 수 있는 프로파일 파일이 아니어서 아무것도 쓰지 않았습니다.

</translation>
    </message>
    <message>
        <source>Save the plant&apos;s profile</source>
        <translation>제어기 프로파일 저장</translation>
    </message>
    <message>
        <source>Reading the settings...</source>
        <translation>설정을 읽는 중...</translation>
    </message>
    <message>
        <source>Compare a profile with the plant</source>
        <translation>프로파일을 제어기와 비교</translation>
    </message>
    <message>
        <source>The first profile</source>
        <translation>첫 번째 프로파일</translation>
    </message>
    <message>
        <source>The profile to compare it with</source>
        <translation>비교할 프로파일</translation>
    </message>
    <message>
        <source>Restore a profile onto the plant</source>
        <translation>프로파일을 제어기에 복원</translation>
    </message>
    <message>
        <source>The profile was not saved: </source>
        <translation>프로파일을 저장하지 못했습니다: </translation>
    </message>
    <message>
        <source>Profile saved: %1
%2 settings%3.</source>
        <translation>프로파일을 저장했습니다: %1
설정 %2개%3.</translation>
    </message>
    <message>
        <source>This profile was made for system type %1 (%2); this plant is %3 (%4).

Restore its settings anyway? Its network section is never written.</source>
        <translation>이 프로파일은 시스템 형식 %1 (%2)용입니다. 이 제어기는 %3 (%4)입니다.

그래도 설정을 복원하시겠습니까? 네트워크 항목은 쓰지 않습니다.</translation>
    </message>
    <message>
        <source>The plant already holds this profile&apos;s settings: nothing to write.</source>
        <translation>제어기에 이미 이 프로파일의 설정이 있어 쓸 것이 없습니다.</translation>
    </message>
    <message>
        <source>Writing the settings...</source>
        <translation>설정을 쓰는 중...</translation>
    </message>
    <message>
        <source>The restore stopped: </source>
        <translation>복원이 중단되었습니다: </translation>
    </message>
    <message>
        <source>Profile: </source>
        <translation>프로파일: </translation>
    </message>
</context>
<context>
    <name>ProfileCompareDialog</name>
    <message>
        <source>프로파일 비교 (Profile comparison)</source>
        <translation>프로파일 비교</translation>
    </message>
    <message>
        <source>field</source>
        <translation>항목</translation>
    </message>
    <message>
        <source>unit</source>
        <translation>단위</translation>
    </message>
    <message>
        <source>register</source>
        <translation>레지스터</translation>
    </message>
    <message>
        <source>차이만 보기 (differences only)</source>
        <translation>차이만 보기</translation>
    </message>
    <message>
        <source>xlsx 저장 (Export)...</source>
        <translation>xlsx 저장 (Export)...</translation>
    </message>
    <message>
        <source>Export the comparison</source>
        <translation>비교 결과 내보내기</translation>
    </message>
    <message>
        <source>%1 rows exported to %2</source>
        <translation>%1줄을 %2(으)로 내보냈습니다</translation>
    </message>
    <message>
        <source>The comparison was not exported: </source>
        <translation>비교 결과를 내보내지 못했습니다: </translation>
    </message>
</context>
<context>
    <name>ProfilePreviewDialog</name>
    <message>
        <source>프로파일 복원 (Profile restore): writes to confirm</source>
        <translation>프로파일 복원: 쓸 항목 확인</translation>
    </message>
    <message>
        <source>네트워크 정보도 쓰기 (also write the addresses, rectifier ID and site text; writing an address can cut the link)</source>
        <translation>네트워크 정보도 쓰기 (주소, 정류기 ID, Site 정보; 주소를 쓰면 연결이 끊길 수 있습니다)</translation>
    </message>
    <message>
        <source>쓰기 (Write)</source>
        <translation>쓰기 (Write)</translation>
    </message>
    <message>
        <source>field</source>
        <translation>항목</translation>
    </message>
    <message>
        <source>unit</source>
        <translation>단위</translation>
    </message>
    <message>
        <source>register</source>
        <translation>레지스터</translation>
    </message>
    <message>
        <source>plant now</source>
        <translation>현재 제어기</translation>
    </message>
    <message>
        <source>after restore</source>
        <translation>복원 후</translation>
    </message>
</context>
<context>
    <name>ProtocolPane</name>
    <message>
        <source>All frames</source>
        <translation>모든 프레임</translation>
    </message>
    <message>
        <source>Polls</source>
        <translation>폴링</translation>
    </message>
    <message>
        <source>Writes</source>
        <translation>쓰기</translation>
    </message>
    <message>
        <source>Transfers</source>
        <translation>이력 전송</translation>
    </message>
    <message>
        <source>Errors only</source>
        <translation>오류만</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>일시 정지</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>지우기</translation>
    </message>
    <message>
        <source>Search bytes or meaning</source>
        <translation>바이트 또는 의미 검색</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>복사</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>저장...</translation>
    </message>
    <message>
        <source>Record session...</source>
        <translation>세션 기록...</translation>
    </message>
    <message>
        <source>; %1 frames kept, %2 KiB</source>
        <translation>; 보관 %1프레임, %2 KiB</translation>
    </message>
    <message>
        <source>Last dropped: %1</source>
        <translation>마지막으로 버린 프레임: %1</translation>
    </message>
    <message>
        <source>&apos;Errors only&apos; lists every dropped frame.</source>
        <translation>&apos;오류만&apos;을 고르면 버린 프레임을 모두 볼 수 있습니다.</translation>
    </message>
    <message>
        <source>Save the frames shown</source>
        <translation>보이는 프레임 저장</translation>
    </message>
    <message>
        <source>Saved </source>
        <translation>저장했습니다: </translation>
    </message>
    <message>
        <source>The session is not recorded: </source>
        <translation>세션을 기록하지 못했습니다: </translation>
    </message>
    <message>
        <source>recording to </source>
        <translation>기록 중: </translation>
    </message>
    <message>
        <source>recorded %1 frames</source>
        <translation>%1프레임 기록함</translation>
    </message>
    <message>
        <source>Record the session to</source>
        <translation>세션을 기록할 파일</translation>
    </message>
    <message>
        <source>The frames were not saved: %1</source>
        <translation>프레임을 저장하지 못했습니다: %1</translation>
    </message>
</context>
<context>
    <name>Report</name>
    <message>
        <source>Service report </source>
        <translation>서비스 리포트 </translation>
    </message>
    <message>
        <source>Battery V %1 to %2 (blue), A %3 to %4 (red), lowest cell V %5 to %6 (green); %7 s</source>
        <translation>축전지 V %1 ~ %2 (파랑), A %3 ~ %4 (빨강), 최저 셀 V %5 ~ %6 (초록); %7초</translation>
    </message>
</context>
<context>
    <name>ServiceReportDialog</name>
    <message>
        <source>서비스 리포트 (Service report)</source>
        <translation>서비스 리포트</translation>
    </message>
    <message>
        <source>What was done on site, what was found</source>
        <translation>현장에서 한 작업과 발견한 내용</translation>
    </message>
    <message>
        <source>Create...</source>
        <translation>만들기...</translation>
    </message>
    <message>
        <source>Gathering the report: </source>
        <translation>리포트 수집 중: </translation>
    </message>
    <message>
        <source>The report was not made: </source>
        <translation>리포트를 만들지 못했습니다: </translation>
    </message>
    <message>
        <source>Save the service report</source>
        <translation>서비스 리포트 저장</translation>
    </message>
    <message>
        <source>Gathering the report</source>
        <translation>리포트 수집 중</translation>
    </message>
    <message>
        <source>The report was not saved: </source>
        <translation>리포트를 저장하지 못했습니다: </translation>
    </message>
    <message>
        <source>Report saved: </source>
        <translation>리포트를 저장했습니다: </translation>
    </message>
    <message>
        <source>DC, battery, AC and rectifier, cells</source>
        <translation>DC, 축전지, AC와 정류기, 셀</translation>
    </message>
</context>
<context>
    <name>SetPointDialog</name>
    <message>
        <source>운용/알람 설정</source>
        <translation>운용/알람 설정</translation>
    </message>
    <message>
        <source>알람설정</source>
        <translation>알람설정</translation>
    </message>
    <message>
        <source>AC 저전압 (150V ~ 200V)</source>
        <translation>AC 저전압 (150V ~ 200V)</translation>
    </message>
    <message>
        <source>AC 고전압 (250V ~ 290V)</source>
        <translation>AC 고전압 (250V ~ 290V)</translation>
    </message>
    <message>
        <source>DC 저전압 (43.0V ~ 50.0V) </source>
        <translation>DC 저전압 (43.0V ~ 50.0V) </translation>
    </message>
    <message>
        <source>DC 고전압 (53.0V ~ 59.0V) </source>
        <translation>DC 고전압 (53.0V ~ 59.0V) </translation>
    </message>
    <message>
        <source>축전지 저전압 (43.0V ~ 50.0V)</source>
        <translation>축전지 저전압 (43.0V ~ 50.0V)</translation>
    </message>
    <message>
        <source>DC 과전류 (40% ~ 120%)</source>
        <translation>DC 과전류 (40% ~ 120%)</translation>
    </message>
    <message>
        <source>랙 고온(차단) ( 5.0C ~ 100.0 C)</source>
        <translation>랙 고온(차단) ( 5.0C ~ 100.0 C)</translation>
    </message>
    <message>
        <source>DC 차단 전압 (50.0V ~ 58.0V) </source>
        <translation>DC 차단 전압 (50.0V ~ 58.0V) </translation>
    </message>
    <message>
        <source>축전지 운용설정 </source>
        <translation>축전지 운용설정 </translation>
    </message>
    <message>
        <source>리튬 충전전류제한 (0(OFF) 2,3A) </source>
        <translation>리튬 충전전류제한 (0(OFF) 2,3A) </translation>
    </message>
    <message>
        <source>리튬 종지전압 (40.0V ~ 45.9V)</source>
        <translation>리튬 종지전압 (40.0V ~ 45.9V)</translation>
    </message>
    <message>
        <source>운용설정</source>
        <translation>운용설정</translation>
    </message>
    <message>
        <source>출력전압 (43.0 ~ 56.0V)</source>
        <translation>출력전압 (43.0 ~ 56.0V)</translation>
    </message>
    <message>
        <source>충전전류제한 (0(OFF), 1~ 4A) </source>
        <translation>충전전류제한 (0(OFF), 1~ 4A) </translation>
    </message>
    <message>
        <source>충전모드</source>
        <translation>충전모드</translation>
    </message>
    <message>
        <source>출력전압모드</source>
        <translation>출력전압모드</translation>
    </message>
    <message>
        <source>온도보상모드</source>
        <translation>온도보상모드</translation>
    </message>
    <message>
        <source>TEST 모드</source>
        <translation>TEST 모드</translation>
    </message>
    <message>
        <source>출력 고전압 상태</source>
        <translation>출력 고전압 상태</translation>
    </message>
    <message>
        <source>미발생/해제</source>
        <translation>미발생/해제</translation>
    </message>
    <message>
        <source>발생</source>
        <translation>발생</translation>
    </message>
    <message>
        <source>축전지 USE</source>
        <translation>축전지 USE</translation>
    </message>
    <message>
        <source>미사용</source>
        <translation>미사용</translation>
    </message>
    <message>
        <source>사용</source>
        <translation>사용</translation>
    </message>
    <message>
        <source>축전지 온도</source>
        <translation>축전지 온도</translation>
    </message>
    <message>
        <source>Task Fail 카운트 리셋 </source>
        <translation>Task Fail 카운트 리셋 </translation>
    </message>
    <message>
        <source>축전지 방전시험</source>
        <translation>축전지 방전시험</translation>
    </message>
    <message>
        <source>방전시험 주기 (OFF,1~12개월)</source>
        <translation>방전시험 주기 (OFF,1~12개월)</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>OFF</translation>
    </message>
    <message>
        <source>시험시작 월 (1~12월)</source>
        <translation>시험시작 월 (1~12월)</translation>
    </message>
    <message>
        <source>시험시작 일 (1~28일)</source>
        <translation>시험시작 일 (1~28일)</translation>
    </message>
    <message>
        <source>시험시작 시간 (0 ~ 23시)</source>
        <translation>시험시작 시간 (0 ~ 23시)</translation>
    </message>
    <message>
        <source>방전전압 (43.0 ~ 53.3V)</source>
        <translation>방전전압 (43.0 ~ 53.3V)</translation>
    </message>
    <message>
        <source>방전시간 (1 ~ 120분) </source>
        <translation>방전시간 (1 ~ 120분) </translation>
    </message>
    <message>
        <source>강제방전시험</source>
        <translation>강제방전시험</translation>
    </message>
    <message>
        <source>시험 시작</source>
        <translation>시험 시작</translation>
    </message>
    <message>
        <source>시험 정지</source>
        <translation>시험 정지</translation>
    </message>
    <message>
        <source>경보 Clear</source>
        <translation>경보 Clear</translation>
    </message>
    <message>
        <source>전체선택</source>
        <translation>전체선택</translation>
    </message>
    <message>
        <source>기본값</source>
        <translation>기본값</translation>
    </message>
    <message>
        <source>설정</source>
        <translation>설정</translation>
    </message>
    <message>
        <source>닫기</source>
        <translation>닫기</translation>
    </message>
    <message>
        <source>출력전압 (%1 ~ %2V)</source>
        <translation>출력전압 (%1 ~ %2V)</translation>
    </message>
    <message>
        <source>%1 was outside the range and was changed to %2.</source>
        <translation>%1은(는) 범위를 벗어나 %2(으)로 바뀌었습니다.</translation>
    </message>
    <message>
        <source>These values were outside their range and were changed to fit it:</source>
        <translation>다음 값은 범위를 벗어나 범위 안으로 바뀌었습니다:</translation>
    </message>
    <message>
        <source>Write the changed values?</source>
        <translation>바뀐 값을 쓰시겠습니까?</translation>
    </message>
    <message>
        <source>Nothing was ticked: nothing was written.</source>
        <translation>선택한 항목이 없어 아무것도 쓰지 않았습니다.</translation>
    </message>
</context>
<context>
    <name>TrendView</name>
    <message>
        <source>Follow</source>
        <translation>따라가기</translation>
    </message>
    <message>
        <source>Follow the newest sample (off: paused)</source>
        <translation>최신 값 따라가기 (끄면 멈춤)</translation>
    </message>
    <message>
        <source>Reset zoom</source>
        <translation>확대 초기화</translation>
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
        <translation>데이터 로그 열기...</translation>
    </message>
    <message>
        <source>Live</source>
        <translation>실시간</translation>
    </message>
    <message>
        <source>The data log was not opened.

</source>
        <translation>데이터 로그를 열지 못했습니다.

</translation>
    </message>
    <message>
        <source>The trend data was not saved: </source>
        <translation>트렌드 데이터를 저장하지 못했습니다: </translation>
    </message>
    <message>
        <source>Open a data log</source>
        <translation>데이터 로그 열기</translation>
    </message>
    <message>
        <source>Save the charts as an image</source>
        <translation>차트를 이미지로 저장</translation>
    </message>
    <message>
        <source>Save the shown data as CSV</source>
        <translation>보이는 데이터를 CSV로 저장</translation>
    </message>
    <message>
        <source>The image was not saved: </source>
        <translation>이미지를 저장하지 못했습니다: </translation>
    </message>
    <message>
        <source>Saved </source>
        <translation>저장했습니다: </translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 ~ %2</translation>
    </message>
    <message>
        <source>DC output</source>
        <translation>DC 출력</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation>축전지</translation>
    </message>
    <message>
        <source>AC input and rectifier</source>
        <translation>AC 입력과 정류기</translation>
    </message>
    <message>
        <source>Cells</source>
        <translation>셀</translation>
    </message>
    <message>
        <source>spread V</source>
        <translation>편차 V</translation>
    </message>
    <message>
        <source>Cell %1</source>
        <translation>셀 %1</translation>
    </message>
    <message>
        <source>DC voltage</source>
        <translation>DC 전압</translation>
    </message>
    <message>
        <source>DC current</source>
        <translation>DC 전류</translation>
    </message>
    <message>
        <source>Battery voltage</source>
        <translation>축전지 전압</translation>
    </message>
    <message>
        <source>Battery current</source>
        <translation>축전지 전류</translation>
    </message>
    <message>
        <source>Battery temperature</source>
        <translation>축전지 온도</translation>
    </message>
    <message>
        <source>AC voltage</source>
        <translation>AC 전압</translation>
    </message>
    <message>
        <source>AC current</source>
        <translation>AC 전류</translation>
    </message>
    <message>
        <source>Rectifier temperature</source>
        <translation>정류기 온도</translation>
    </message>
    <message>
        <source>Cell spread (max - min)</source>
        <translation>셀 편차 (최고 - 최저)</translation>
    </message>
    <message>
        <source>spread</source>
        <translation>편차</translation>
    </message>
    <message>
        <source>5 min</source>
        <translation>5분</translation>
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
        <translation>이미지를 만들지 못했습니다</translation>
    </message>
</context>
</TS>
