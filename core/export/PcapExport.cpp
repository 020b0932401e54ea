// A recorded TCP session as a pcap capture (libpcap).
#include "core/export/PcapExport.h"

#include <pcap/pcap.h>

namespace quma {

namespace {
constexpr quint8 kClient[4] = {10, 0, 0, 1};
constexpr quint8 kServer[4] = {10, 0, 0, 2};
constexpr quint16 kClientPort = 50200;
constexpr quint16 kServerPort = 502;

void put16(QByteArray& b, int at, quint16 v) {
    b[at] = char(v >> 8);
    b[at + 1] = char(v & 0xFF);
}
void put32(QByteArray& b, int at, quint32 v) {
    put16(b, at, quint16(v >> 16));
    put16(b, at + 2, quint16(v & 0xFFFF));
}

// The ones' complement sum of 16-bit words (RFC 1071), folded.
quint32 sum16(const QByteArray& b, quint32 sum = 0) {
    for (int i = 0; i + 1 < b.size(); i += 2)
        sum += quint32(uchar(b[i]) << 8 | uchar(b[i + 1]));
    if (b.size() % 2) sum += quint32(uchar(b[b.size() - 1]) << 8);
    return sum;
}
quint16 fold(quint32 sum) {
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return quint16(~sum & 0xFFFF);
}

QByteArray packet(bool fromClient, const QByteArray& payload, quint32 seq, quint32 ack,
                  quint16 id) {
    const quint8* src = fromClient ? kClient : kServer;
    const quint8* dst = fromClient ? kServer : kClient;
    QByteArray ip(20, 0), tcp(20, 0);
    ip[0] = char(0x45);
    put16(ip, 2, quint16(40 + payload.size()));
    put16(ip, 4, id);
    put16(ip, 6, 0x4000); // don't fragment
    ip[8] = 64;
    ip[9] = 6; // TCP
    for (int i = 0; i < 4; ++i) {
        ip[12 + i] = char(src[i]);
        ip[16 + i] = char(dst[i]);
    }
    put16(ip, 10, fold(sum16(ip)));
    put16(tcp, 0, fromClient ? kClientPort : kServerPort);
    put16(tcp, 2, fromClient ? kServerPort : kClientPort);
    put32(tcp, 4, seq);
    put32(tcp, 8, ack);
    tcp[12] = char(5 << 4);
    tcp[13] = char(0x18); // PSH, ACK
    put16(tcp, 14, 0xFFFF);
    // Checksum over the pseudo-header, the header and the payload.
    QByteArray pseudo = ip.mid(12, 8);
    pseudo += QByteArray(1, 0) + QByteArray(1, 6);
    pseudo += char((20 + payload.size()) >> 8);
    pseudo += char((20 + payload.size()) & 0xFF);
    put16(tcp, 16, fold(sum16(tcp + payload, sum16(pseudo))));
    return ip + tcp + payload;
}
} // namespace

bool WritePcap(const QString& path, const QList<FrameEvent>& events, QString* error, int* packets) {
    QList<const FrameEvent*> frames;
    for (const FrameEvent& e : events)
        if (e.link == LinkKind::Tcp && !e.bytes.isEmpty() &&
            (e.kind == FrameEvent::Sent || e.kind == FrameEvent::Received ||
             e.kind == FrameEvent::Dropped))
            frames << &e;
    if (frames.isEmpty()) {
        if (error) *error = "the recording holds no TCP frame (a serial session has no pcap form)";
        return false;
    }
    pcap_t* dead = pcap_open_dead(DLT_RAW, 65535);
    if (!dead) {
        if (error) *error = "libpcap could not start a capture file";
        return false;
    }
    pcap_dumper_t* out = pcap_dump_open(dead, path.toLocal8Bit().constData());
    if (!out) {
        if (error) *error = QString("%1: %2").arg(path, QString::fromLocal8Bit(pcap_geterr(dead)));
        pcap_close(dead);
        return false;
    }
    quint32 clientSeq = 1, serverSeq = 1;
    quint16 id = 1;
    for (const FrameEvent* e : frames) {
        const bool fromClient = e->kind == FrameEvent::Sent;
        quint32& seq = fromClient ? clientSeq : serverSeq;
        const QByteArray p =
            packet(fromClient, e->bytes, seq, fromClient ? serverSeq : clientSeq, id++);
        seq += quint32(e->bytes.size());
        pcap_pkthdr h{};
        h.ts.tv_sec = e->wallMs / 1000;
        h.ts.tv_usec = (e->wallMs % 1000) * 1000;
        h.caplen = h.len = bpf_u_int32(p.size());
        pcap_dump(reinterpret_cast<u_char*>(out), &h,
                  reinterpret_cast<const u_char*>(p.constData()));
    }
    const bool flushed = pcap_dump_flush(out) == 0;
    pcap_dump_close(out);
    pcap_close(dead);
    if (!flushed) {
        if (error) *error = QString("%1: the capture could not be written to the end").arg(path);
        return false;
    }
    if (packets) *packets = int(frames.size());
    return true;
}

} // namespace quma
