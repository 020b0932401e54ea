# Debian 12 packages the console needs to build, test and run; sourced by ./test and ./run.
QUMA_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev qt6-charts-dev
    qt6-l10n-tools qt6-tools-dev qt6-tools-dev-tools
    libqt6opengl6-dev
    libxlsxwriter-dev libpcap-dev tshark
    prometheus-cpp-dev libmosquitto-dev prometheus mosquitto mosquitto-clients
    libsnmp-dev snmpd snmptrapd snmp smitools nut-client nut-cgi libyaml-cpp-dev apache2-utils curl openssl help2man librsvg2-bin lintian desktop-file-utils appstream bash-completion man-db
    libgl-dev fonts-nanum fonts-dejavu-core poppler-utils xvfb xauth unzip)

quma_install_deps() {
    local missing=()
    for p in "${QUMA_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
