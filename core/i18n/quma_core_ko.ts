<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko" sourcelanguage="en">
<context>
    <name>Alarm</name>
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
        <source>축전지 경보</source>
        <translation>축전지 경보</translation>
    </message>
    <message>
        <source>모듈 경보</source>
        <translation>모듈 경보</translation>
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
        <source>Alarm그룹</source>
        <translation>Alarm그룹</translation>
    </message>
    <message>
        <source>교류입력</source>
        <translation>교류입력</translation>
    </message>
    <message>
        <source>직류출력</source>
        <translation>직류출력</translation>
    </message>
    <message>
        <source>정류모듈</source>
        <translation>정류모듈</translation>
    </message>
    <message>
        <source>축전지</source>
        <translation>축전지</translation>
    </message>
</context>
<context>
    <name>Battery</name>
    <message>
        <source>forced</source>
        <translation>강제</translation>
    </message>
    <message>
        <source>scheduled</source>
        <translation>예약</translation>
    </message>
    <message>
        <source>started at the controller</source>
        <translation>제어기에서 시작</translation>
    </message>
    <message>
        <source>time elapsed</source>
        <translation>시간 경과</translation>
    </message>
    <message>
        <source>end voltage reached early</source>
        <translation>방전전압에 일찍 도달</translation>
    </message>
    <message>
        <source>stopped by command</source>
        <translation>명령으로 정지</translation>
    </message>
    <message>
        <source>link lost</source>
        <translation>연결 끊김</translation>
    </message>
    <message>
        <source>ended at the controller</source>
        <translation>제어기에서 종료</translation>
    </message>
    <message>
        <source>pass</source>
        <translation>합격</translation>
    </message>
    <message>
        <source>look closer</source>
        <translation>정밀 점검</translation>
    </message>
    <message>
        <source>fail</source>
        <translation>불합격</translation>
    </message>
    <message>
        <source>not judged</source>
        <translation>판정 안 함</translation>
    </message>
    <message>
        <source>Discharge test: %1, %2 to %3 (%4 of %5 min), %6</source>
        <translation>방전시험: %1, %2 ~ %3 (%5분 중 %4분), %6</translation>
    </message>
    <message>
        <source>Delivered: %1 Ah, %2 Wh; charge %3 % to %4 %</source>
        <translation>방전량: %1 Ah, %2 Wh; 잔량 %3 % → %4 %</translation>
    </message>
    <message>
        <source>Capacity: %1 Ah (%2 of the first test)</source>
        <translation>용량: %1 Ah (첫 시험 대비 %2)</translation>
    </message>
    <message>
        <source>Resistance: %1 mOhm (%2 of the first test)</source>
        <translation>내부저항: %1 mOhm (첫 시험 대비 %2)</translation>
    </message>
    <message>
        <source>Weakest cell: #%1 at %2 V; spread %3 mV at the start, %4 mV at the end</source>
        <translation>가장 약한 셀: #%1, %2 V; 셀 편차 시작 %3 mV, 끝 %4 mV</translation>
    </message>
    <message>
        <source>Temperature: %1 to %2 C</source>
        <translation>온도: %1 ~ %2 C</translation>
    </message>
    <message>
        <source>Verdict: %1</source>
        <translation>판정: %1</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>시작</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>종류</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>분</translation>
    </message>
    <message>
        <source>End</source>
        <translation>종료</translation>
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
        <translation>잔량 %</translation>
    </message>
    <message>
        <source>Capacity Ah</source>
        <translation>용량 Ah</translation>
    </message>
    <message>
        <source>vs first</source>
        <translation>첫 시험 대비</translation>
    </message>
    <message>
        <source>mOhm</source>
        <translation>mOhm</translation>
    </message>
    <message>
        <source>Weakest cell</source>
        <translation>약한 셀</translation>
    </message>
    <message>
        <source>Spread mV</source>
        <translation>셀 편차 mV</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>판정</translation>
    </message>
    <message>
        <source>The test did not run to its end: not judged.</source>
        <translation>시험이 끝까지 진행되지 않아 판정하지 않았습니다.</translation>
    </message>
    <message>
        <source>The end voltage %1 V came after %2 of %3 minutes.</source>
        <translation>%3분 중 %2분 만에 방전전압 %1 V에 도달했습니다.</translation>
    </message>
    <message>
        <source>Capacity %1 % of the first test&apos;s: below %2 %.</source>
        <translation>용량이 첫 시험의 %1 %: %2 % 미만입니다.</translation>
    </message>
    <message>
        <source>Capacity %1 % of the first test&apos;s: down more than %2 %.</source>
        <translation>용량이 첫 시험의 %1 %: %2 % 넘게 줄었습니다.</translation>
    </message>
    <message>
        <source>Resistance %1 % of the first test&apos;s: up %2 % or more.</source>
        <translation>내부저항이 첫 시험의 %1 %: %2 % 이상 늘었습니다.</translation>
    </message>
    <message>
        <source>Cell spread %1 mV at the end (limit %2 mV), lowest cell #%3.</source>
        <translation>시험 끝의 셀 편차 %1 mV (한계 %2 mV), 가장 낮은 셀 #%3.</translation>
    </message>
    <message>
        <source>Cell #%1 ended at %2 V (limit %3 V).</source>
        <translation>셀 #%1이 %2 V로 끝났습니다 (한계 %3 V).</translation>
    </message>
    <message>
        <source>Cell #%1 was the weakest in the test before too.</source>
        <translation>셀 #%1은 지난 시험에서도 가장 약했습니다.</translation>
    </message>
    <message>
        <source>%1: %2; the file is kept as %3 and a new history begins</source>
        <translation>%1: %2; 파일은 %3(으)로 보관하고 새 이력을 시작합니다</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>not JSON (%1 at byte %2)</source>
        <translation>JSON이 아닙니다 (%2 바이트에서 %1)</translation>
    </message>
    <message>
        <source>not a battery test history</source>
        <translation>축전지 시험 이력 파일이 아닙니다</translation>
    </message>
    <message>
        <source>version %1 is not known here</source>
        <translation>버전 %1은(는) 알 수 없습니다</translation>
    </message>
    <message>
        <source>test %1 is not readable</source>
        <translation>시험 %1을(를) 읽을 수 없습니다</translation>
    </message>
</context>
<context>
    <name>History</name>
    <message>
        <source>순서</source>
        <translation>순서</translation>
    </message>
    <message>
        <source>날짜</source>
        <translation>날짜</translation>
    </message>
    <message>
        <source>시간</source>
        <translation>시간</translation>
    </message>
    <message>
        <source>AC전압</source>
        <translation>AC전압</translation>
    </message>
    <message>
        <source>AC전류</source>
        <translation>AC전류</translation>
    </message>
    <message>
        <source>DC전압</source>
        <translation>DC전압</translation>
    </message>
    <message>
        <source>DC전류</source>
        <translation>DC전류</translation>
    </message>
    <message>
        <source>Batt전류</source>
        <translation>Batt전류</translation>
    </message>
    <message>
        <source>Rack온도</source>
        <translation>Rack온도</translation>
    </message>
    <message>
        <source>경보</source>
        <translation>경보</translation>
    </message>
    <message>
        <source>이벤트 내용</source>
        <translation>이벤트 내용</translation>
    </message>
    <message>
        <source>value</source>
        <translation>value</translation>
    </message>
</context>
<context>
    <name>MonitorEngine</name>
    <message>
        <source> (no reply, asking again: %1 of %2)</source>
        <translation> (응답 없음, 다시 요청: %1/%2)</translation>
    </message>
    <message>
        <source>No History data</source>
        <translation>No History data</translation>
    </message>
    <message>
        <source>No Event log data</source>
        <translation>No Event log data</translation>
    </message>
    <message>
        <source>%1 History data</source>
        <translation>%1 History data</translation>
    </message>
    <message>
        <source>are Saved!!</source>
        <translation>are Saved!!</translation>
    </message>
    <message>
        <source>Too many settings at once: %1 (at most %2).</source>
        <translation>한 번에 쓸 설정이 너무 많습니다: %1개 (최대 %2개).</translation>
    </message>
    <message>
        <source>Register %1: value %2 is outside 0..65535; nothing was sent.</source>
        <translation>레지스터 %1: 값 %2이(가) 0..65535 범위를 벗어나 아무것도 보내지 않았습니다.</translation>
    </message>
    <message>
        <source> Setting Sucess!!</source>
        <translation> Setting Sucess!!</translation>
    </message>
    <message>
        <source> Alarm Initial Sucess!!</source>
        <translation> Alarm Initial Sucess!!</translation>
    </message>
    <message>
        <source> Event log Initial Sucess!!</source>
        <translation> Event log Initial Sucess!!</translation>
    </message>
    <message>
        <source> Event Initial Sucess!!</source>
        <translation> Event Initial Sucess!!</translation>
    </message>
</context>
<context>
    <name>Profile</name>
    <message>
        <source>unused</source>
        <translation>미사용</translation>
    </message>
    <message>
        <source>used</source>
        <translation>사용</translation>
    </message>
    <message>
        <source>output voltage</source>
        <translation>출력전압</translation>
    </message>
    <message>
        <source>temperature compensation</source>
        <translation>온도 보상</translation>
    </message>
    <message>
        <source>test</source>
        <translation>TEST 모드</translation>
    </message>
    <message>
        <source>normally open</source>
        <translation>평상시 열림</translation>
    </message>
    <message>
        <source>normally closed</source>
        <translation>평상시 닫힘</translation>
    </message>
    <message>
        <source>dry contact</source>
        <translation>Dry Contact</translation>
    </message>
    <message>
        <source>TTL level</source>
        <translation>TTL Level</translation>
    </message>
    <message>
        <source>AC alarm</source>
        <translation>AC 경보</translation>
    </message>
    <message>
        <source>DC high voltage</source>
        <translation>DC 고전압</translation>
    </message>
    <message>
        <source>DC low voltage</source>
        <translation>DC 저전압</translation>
    </message>
    <message>
        <source>DC overcurrent</source>
        <translation>DC 과전류</translation>
    </message>
    <message>
        <source>battery alarm</source>
        <translation>축전지 경보</translation>
    </message>
    <message>
        <source>module alarm</source>
        <translation>모듈 경보</translation>
    </message>
    <message>
        <source>battery low voltage</source>
        <translation>축전지 저전압</translation>
    </message>
    <message>
        <source>module high temperature</source>
        <translation>모듈 고온</translation>
    </message>
    <message>
        <source>battery cell</source>
        <translation>축전지 셀</translation>
    </message>
    <message>
        <source>none</source>
        <translation>없음</translation>
    </message>
</context>
<context>
    <name>Report</name>
    <message>
        <source>예비 1</source>
        <translation>예비 1</translation>
    </message>
    <message>
        <source>예비 2</source>
        <translation>예비 2</translation>
    </message>
    <message>
        <source>ko</source>
        <comment>HTML language code</comment>
        <translation>ko</translation>
    </message>
    <message>
        <source>Service report </source>
        <translation>서비스 리포트 </translation>
    </message>
    <message>
        <source>Site service report: </source>
        <translation>현장 서비스 리포트: </translation>
    </message>
    <message>
        <source>Model</source>
        <translation>모델</translation>
    </message>
    <message>
        <source>System type</source>
        <translation>시스템 형식</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>펌웨어</translation>
    </message>
    <message>
        <source>Controller time</source>
        <translation>제어기 시각</translation>
    </message>
    <message>
        <source>Laptop time</source>
        <translation>노트북 시각</translation>
    </message>
    <message>
        <source>Engineer</source>
        <translation>작업자</translation>
    </message>
    <message>
        <source>Console</source>
        <translation>콘솔</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>메모</translation>
    </message>
    <message>
        <source>Network identity</source>
        <translation>네트워크 정보</translation>
    </message>
    <message>
        <source>IP address</source>
        <translation>IP 주소</translation>
    </message>
    <message>
        <source>Subnet mask</source>
        <translation>서브넷 마스크</translation>
    </message>
    <message>
        <source>Gateway</source>
        <translation>게이트웨이</translation>
    </message>
    <message>
        <source>MAC address</source>
        <translation>MAC 주소</translation>
    </message>
    <message>
        <source>HW version</source>
        <translation>HW 버전</translation>
    </message>
    <message>
        <source>HW description</source>
        <translation>HW 설명</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>일련번호</translation>
    </message>
    <message>
        <source>Rectifier ID</source>
        <translation>정류기 ID</translation>
    </message>
    <message>
        <source>FW version</source>
        <translation>FW 버전</translation>
    </message>
    <message>
        <source>Site</source>
        <translation>Site 정보</translation>
    </message>
    <message>
        <source>Not read.</source>
        <translation>읽지 않았습니다.</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>No alarm.</source>
        <translation>경보 없음.</translation>
    </message>
    <message>
        <source>Active alarms: </source>
        <translation>발생 중인 경보: </translation>
    </message>
    <message>
        <source>Measurement</source>
        <translation>측정 항목</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>값</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>단위</translation>
    </message>
    <message>
        <source>ALARM</source>
        <translation>경보</translation>
    </message>
    <message>
        <source>normal</source>
        <translation>정상</translation>
    </message>
    <message>
        <source>Contact</source>
        <translation>접점</translation>
    </message>
    <message>
        <source>State</source>
        <translation>상태</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>경보</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>설정</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>설정 항목</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>레지스터</translation>
    </message>
    <message>
        <source>Trends, last hour</source>
        <translation>트렌드 (최근 1시간)</translation>
    </message>
    <message>
        <source>Alarm history (%1 records)</source>
        <translation>알람 이력 (%1건)</translation>
    </message>
    <message>
        <source>No record.</source>
        <translation>기록 없음.</translation>
    </message>
    <message>
        <source>Event log (%1 records)</source>
        <translation>이벤트 로그 (%1건)</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation>축전지</translation>
    </message>
    <message>
        <source>No discharge test is recorded for this plant.</source>
        <translation>이 설비에 기록된 방전시험이 없습니다.</translation>
    </message>
    <message>
        <source>Last discharge test</source>
        <translation>마지막 방전시험</translation>
    </message>
    <message>
        <source>Voltage, current and lowest cell</source>
        <translation>전압, 전류, 가장 낮은 셀</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>초</translation>
    </message>
    <message>
        <source>Battery V</source>
        <translation>축전지 V</translation>
    </message>
    <message>
        <source>Battery A</source>
        <translation>축전지 A</translation>
    </message>
    <message>
        <source>Lowest cell V</source>
        <translation>최저 셀 V</translation>
    </message>
    <message>
        <source>Tests against the first (%1)</source>
        <translation>첫 시험과 비교한 시험 (%1)</translation>
    </message>
    <message>
        <source>Cells apart from the others: %1</source>
        <translation>다른 셀과 벌어진 셀: %1</translation>
    </message>
</context>
<context>
    <name>SerialAccess</name>
    <message>
        <source>%1 does not exist: is the adapter plugged in? (ls /dev/serial/by-id)</source>
        <translation>%1 장치가 없습니다: 어댑터가 꽂혀 있는지 확인하십시오 (ls /dev/serial/by-id)</translation>
    </message>
    <message>
        <source>%1 is in use by another program: close it there first</source>
        <translation>%1 장치를 다른 프로그램이 쓰고 있습니다: 그 프로그램에서 먼저 닫으십시오</translation>
    </message>
    <message>
        <source>%1 may be opened by its owner only (mode %2): ask the administrator</source>
        <translation>%1 장치는 소유자만 열 수 있습니다 (권한 %2): 관리자에게 요청하십시오</translation>
    </message>
    <message>
        <source>%1 belongs to group %2, which you joined after logging in: log out and in again</source>
        <translation>%1 장치는 %2 그룹 소유이며, 로그인한 뒤에 그 그룹에 추가되었습니다: 로그아웃한 뒤 다시 로그인하십시오</translation>
    </message>
    <message>
        <source>%1 belongs to group %2, which you are not in: sudo usermod -aG %2 $USER, then log in again</source>
        <translation>%1 장치는 %2 그룹 소유이며, 사용자가 그 그룹에 속하지 않습니다: sudo usermod -aG %2 $USER 를 실행한 뒤 다시 로그인하십시오</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>AC 저전압</source>
        <translation>AC 저전압</translation>
    </message>
    <message>
        <source>AC 고전압</source>
        <translation>AC 고전압</translation>
    </message>
    <message>
        <source>DC 저전압</source>
        <translation>DC 저전압</translation>
    </message>
    <message>
        <source>DC 고전압</source>
        <translation>DC 고전압</translation>
    </message>
    <message>
        <source>축전지 저전압</source>
        <translation>축전지 저전압</translation>
    </message>
    <message>
        <source>DC 과전류</source>
        <translation>DC 과전류</translation>
    </message>
    <message>
        <source>랙 고온(차단)</source>
        <translation>랙 고온(차단)</translation>
    </message>
    <message>
        <source>출력전압</source>
        <translation>출력전압</translation>
    </message>
    <message>
        <source>충전전류제한</source>
        <translation>충전전류제한</translation>
    </message>
    <message>
        <source>충전모드</source>
        <translation>충전모드</translation>
    </message>
    <message>
        <source>출력 고전압 상태</source>
        <translation>출력 고전압 상태</translation>
    </message>
    <message>
        <source>축전지 USE</source>
        <translation>축전지 USE</translation>
    </message>
    <message>
        <source>축전지 온도</source>
        <translation>축전지 온도</translation>
    </message>
    <message>
        <source>방전시험 주기</source>
        <translation>방전시험 주기</translation>
    </message>
    <message>
        <source>시험시작 월</source>
        <translation>시험시작 월</translation>
    </message>
    <message>
        <source>시험시작 일</source>
        <translation>시험시작 일</translation>
    </message>
    <message>
        <source>시험시작 시간</source>
        <translation>시험시작 시간</translation>
    </message>
    <message>
        <source>방전전압</source>
        <translation>방전전압</translation>
    </message>
    <message>
        <source>방전시간</source>
        <translation>방전시간</translation>
    </message>
    <message>
        <source>강제방전시험</source>
        <translation>강제방전시험</translation>
    </message>
    <message>
        <source>리튬 충전전류제한</source>
        <translation>리튬 충전전류제한</translation>
    </message>
    <message>
        <source>DC 차단 전압</source>
        <translation>DC 차단 전압</translation>
    </message>
    <message>
        <source>리튬 종지전압</source>
        <translation>리튬 종지전압</translation>
    </message>
    <message>
        <source>%1: choose an item from the list.</source>
        <translation>%1: 목록에서 항목을 선택하십시오.</translation>
    </message>
    <message>
        <source>%1: &apos;%2&apos; is not a whole number (%3).</source>
        <translation>%1: &apos;%2&apos;은(는) 정수가 아닙니다 (%3).</translation>
    </message>
    <message>
        <source>%1: &apos;%2&apos; is not within %3.</source>
        <translation>%1: &apos;%2&apos;은(는) %3 범위를 벗어났습니다.</translation>
    </message>
    <message>
        <source>AC 전압</source>
        <translation>AC 전압</translation>
    </message>
    <message>
        <source>AC 전류</source>
        <translation>AC 전류</translation>
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
        <source>%1: &apos;%2&apos; is not a number.</source>
        <translation>%1: &apos;%2&apos;은(는) 숫자가 아닙니다.</translation>
    </message>
    <message>
        <source>%1: &apos;%2&apos; is not within 00.00 ~ %3.</source>
        <translation>%1: &apos;%2&apos;은(는) 00.00 ~ %3 범위를 벗어났습니다.</translation>
    </message>
    <message>
        <source>년: the year must be within 2001 ~ 2999.</source>
        <translation>년: 2001 ~ 2999 사이여야 합니다.</translation>
    </message>
    <message>
        <source>월: the month must be within 1 ~ 12.</source>
        <translation>월: 1 ~ 12 사이여야 합니다.</translation>
    </message>
    <message>
        <source>일: the day must be within 1 ~ %1.</source>
        <translation>일: 1 ~ %1 사이여야 합니다.</translation>
    </message>
    <message>
        <source>시: the hour must be within 0 ~ 23.</source>
        <translation>시: 0 ~ 23 사이여야 합니다.</translation>
    </message>
    <message>
        <source>분: the minute must be within 0 ~ 59.</source>
        <translation>분: 0 ~ 59 사이여야 합니다.</translation>
    </message>
    <message>
        <source>초: the second must be within 0 ~ 59.</source>
        <translation>초: 0 ~ 59 사이여야 합니다.</translation>
    </message>
    <message>
        <source>%1: %2 fields are needed.</source>
        <translation>%1: %2개 항목이 필요합니다.</translation>
    </message>
    <message>
        <source>Read the network identity first (조회): unchanged fields are sent as read.</source>
        <translation>먼저 네트워크 정보를 읽으십시오 (조회): 바꾸지 않은 항목은 읽은 값 그대로 보냅니다.</translation>
    </message>
    <message>
        <source>Mac 주소</source>
        <translation>Mac 주소</translation>
    </message>
    <message>
        <source>정류기 IP 주소</source>
        <translation>정류기 IP 주소</translation>
    </message>
    <message>
        <source>HW 버전</source>
        <translation>HW 버전</translation>
    </message>
    <message>
        <source>정류기 ID: &apos;%1&apos; is not a hex number of at most 8 digits.</source>
        <translation>정류기 ID: &apos;%1&apos;은(는) 8자리 이하의 16진수가 아닙니다.</translation>
    </message>
    <message>
        <source>HW 설명: %1 bytes, at most 255.</source>
        <translation>HW 설명: %1바이트, 최대 255바이트입니다.</translation>
    </message>
    <message>
        <source>Site 정보: %1 bytes, at most 255.</source>
        <translation>Site 정보: %1바이트, 최대 255바이트입니다.</translation>
    </message>
    <message>
        <source>접점 평상 상태</source>
        <translation>접점 평상 상태</translation>
    </message>
    <message>
        <source>경보 출력 형식</source>
        <translation>경보 출력 형식</translation>
    </message>
    <message>
        <source>AC Fail 접점 경보 1</source>
        <translation>AC Fail 접점 경보 1</translation>
    </message>
    <message>
        <source>AC Fail 접점 경보 2</source>
        <translation>AC Fail 접점 경보 2</translation>
    </message>
    <message>
        <source>DC Fail 접점 경보 1</source>
        <translation>DC Fail 접점 경보 1</translation>
    </message>
    <message>
        <source>DC Fail 접점 경보 2</source>
        <translation>DC Fail 접점 경보 2</translation>
    </message>
    <message>
        <source>Module Fail 접점 경보 1</source>
        <translation>Module Fail 접점 경보 1</translation>
    </message>
    <message>
        <source>Module Fail 접점 경보 2</source>
        <translation>Module Fail 접점 경보 2</translation>
    </message>
    <message>
        <source>Battery Fail 접점 경보 1</source>
        <translation>Battery Fail 접점 경보 1</translation>
    </message>
    <message>
        <source>Battery Fail 접점 경보 2</source>
        <translation>Battery Fail 접점 경보 2</translation>
    </message>
    <message>
        <source>예비 1 접점 경보 1</source>
        <translation>예비 1 접점 경보 1</translation>
    </message>
    <message>
        <source>예비 1 접점 경보 2</source>
        <translation>예비 1 접점 경보 2</translation>
    </message>
    <message>
        <source>예비 2 접점 경보 1</source>
        <translation>예비 2 접점 경보 1</translation>
    </message>
    <message>
        <source>예비 2 접점 경보 2</source>
        <translation>예비 2 접점 경보 2</translation>
    </message>
    <message>
        <source>Site 정보: control characters (line breaks, escapes) cannot be written.</source>
        <translation>Site 정보: 제어 문자(줄바꿈, 이스케이프)는 쓸 수 없습니다.</translation>
    </message>
</context>
<context>
    <name>Status</name>
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
        <source>팩 : </source>
        <translation>팩 : </translation>
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
        <source>셀 최고전압 : </source>
        <translation>셀 최고전압 : </translation>
    </message>
    <message>
        <source>셀 최저전압 : </source>
        <translation>셀 최저전압 : </translation>
    </message>
    <message>
        <source>충전 FET : On</source>
        <translation>충전 FET : On</translation>
    </message>
    <message>
        <source>충전 FET : OFF</source>
        <translation>충전 FET : OFF</translation>
    </message>
    <message>
        <source>방전 FET : On</source>
        <translation>방전 FET : On</translation>
    </message>
    <message>
        <source>방전 FET : OFF</source>
        <translation>방전 FET : OFF</translation>
    </message>
    <message>
        <source>축전지-NFB : OFF</source>
        <translation>축전지-NFB : OFF</translation>
    </message>
    <message>
        <source>축전지-NFB : On</source>
        <translation>축전지-NFB : On</translation>
    </message>
    <message>
        <source>Link 상태 : On</source>
        <translation>Link 상태 : On</translation>
    </message>
    <message>
        <source>Link 상태 : OFF</source>
        <translation>Link 상태 : OFF</translation>
    </message>
    <message>
        <source>셀전압%1 : </source>
        <translation>셀전압%1 : </translation>
    </message>
    <message>
        <source>축전지 FW 변경일%1</source>
        <translation>축전지 FW 변경일%1</translation>
    </message>
</context>
<context>
    <name>TcpClient</name>
    <message>
        <source>timed out: no answer from the controller</source>
        <translation>시간 초과: 제어기가 응답하지 않습니다</translation>
    </message>
    <message>
        <source>connection refused: nothing answers on that port of the controller</source>
        <translation>연결 거부: 제어기의 해당 포트에서 응답하는 것이 없습니다</translation>
    </message>
    <message>
        <source>host not found</source>
        <translation>호스트를 찾을 수 없습니다</translation>
    </message>
    <message>
        <source>timed out</source>
        <translation>시간 초과</translation>
    </message>
</context>
</TS>
