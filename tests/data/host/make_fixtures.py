#!/usr/bin/env python3
"""Writes the sysfs fixture trees of the host back-end tests (run from this folder).

desktop/ : a DDR3 desktop board with SMBIOS, PCI functions, two SPD EEPROMs on the memory SMBus,
           hwmon chips and two DRM cards.
laptop/  : a DDR4 machine without a readable SMBIOS table (the kernel shows it to root only) but with
           the firmware strings under class/dmi/id, no PCI, hwmon attributes in the older device/ folder.
laptop-proc/ : the laptop's /proc: cpuinfo of two processors and meminfo.
Every byte of those three is made up for the tests.

real-*/ : trees built from the outputs and samples of real machines in realdata/ (see SOURCES.md
there): the `sensors` read-outs become hwmon attributes, the sysfs samples the files they show.
Several are composed of two machines' samples (a laptop's sensors, another laptop's battery); the
FIXTURES table below says which.
"""
import json
import os
import re
import shutil
import struct


def write(path, data):
    if os.path.dirname(path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
    mode = 'wb' if isinstance(data, (bytes, bytearray)) else 'w'
    with open(path, mode) as f:
        f.write(data)


def link(path, target):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    os.symlink(target, path)


def structure(kind, handle, formatted, strings):
    header = struct.pack('<BBH', kind, 4 + len(formatted), handle)
    text = b''.join(s.encode() + b'\0' for s in strings) + b'\0'
    if not strings:
        text = b'\0\0'
    return header + formatted + text


def smbios_table():
    bios = struct.pack('<BBHBBQHBBBB', 1, 2, 0xF000, 3, 0x0F, 0x0B9A8, 0x0103, 8, 15, 0xFF, 0xFF)
    system = struct.pack('<BBBB16sBBB', 1, 2, 3, 4, bytes(range(16)), 6, 0, 0)
    board = struct.pack('<BBBBBBBHBB', 1, 2, 3, 4, 0, 0x09, 0, 0x0003, 0x0A, 0)
    cpu = struct.pack('<BBBB8sBBHHHBBHHHBBB', 1, 3, 0xB3, 2, bytes.fromhex('7A060100FFFBEBBF'),
                      3, 0x8C, 333, 4000, 2833, 0x41, 0x15, 0xFFFF, 0xFFFF, 0xFFFF, 0, 0, 0)
    return (structure(0, 0x0000, bios, ['Tarvok Firmware', 'F7', '06/15/2009']) +
            structure(1, 0x0001, system, ['Tarvok', 'Test Tower', '1.0', 'SN-0001']) +
            structure(2, 0x0002, board, ['Tarvok', 'Elm-E4 (KX-2917)', '5.0', 'MB-123456']) +
            structure(4, 0x0004, cpu, ['LGA775', 'Intel', 'Intel(R) Core(TM)2 Quad CPU    Q9550  @ 2.83GHz']) +
            structure(127, 0x0005, b'', []))


def crc16(data):
    crc = 0
    for byte in data:
        crc ^= byte << 8
        for _ in range(8):
            crc = ((crc << 1) ^ 0x1021) if crc & 0x8000 else crc << 1
            crc &= 0xFFFF
    return crc


def ddr3_spd(density, organisation, serial, part):
    spd = bytearray(256)
    spd[0:24] = bytes([0x92, 0x10, 0x0B, 0x02, density, 0x11, 0x00, organisation, 0x03, 0x52, 0x01, 0x08,
                       0x0C, 0x00, 0x3C, 0x00, 0x6C, 0x78, 0x6C, 0x30, 0x6C, 0x11, 0x20, 0x89])
    spd[117:126] = bytes([0x80, 0xCE, 0x01, 0x09, 0x23]) + serial
    spd[128:146] = part.ljust(18).encode()
    spd[126:128] = struct.pack('<H', crc16(spd[0:117]))
    return bytes(spd)


def ddr4_spd():
    spd = bytearray(512)
    spd[0:8] = bytes([0x23, 0x11, 0x0C, 0x02, 0x45, 0x21, 0x00, 0x08])
    spd[320:322] = bytes([0x80, 0x2C])
    spd[329:349] = b'TEST-8GB-DDR4'.ljust(20)
    return bytes(spd)


def pci_config(vendor, device, class_code, revision, size):
    config = bytearray(size)
    struct.pack_into('<HHHH', config, 0, vendor, device, 0x0007, 0x0010)
    struct.pack_into('<I', config, 8, class_code << 8 | revision)
    struct.pack_into('<HH', config, 0x2C, 0x1458, 0x5000)
    config[0x3C:0x3E] = bytes([0x0B, 0x01])
    return bytes(config)


def desktop(root):
    write(f'{root}/firmware/dmi/tables/DMI', smbios_table())
    devices = f'{root}/bus/pci/devices'
    write(f'{devices}/0000:00:00.0/config', pci_config(0x8086, 0x2E30, 0x060000, 0x03, 256))
    write(f'{devices}/0000:00:1f.3/config', pci_config(0x8086, 0x3A30, 0x0C0500, 0x00, 256))
    # The kernel shows unprivileged readers the first 64 bytes only.
    write(f'{devices}/0000:01:00.0/config', pci_config(0x10DE, 0x0622, 0x030000, 0xA1, 64))
    # Functions the program's own tables cannot name: a vendor without a row (named by the ID list),
    # a class without a row (named by the ID list), and one the ID list does not know either.
    write(f'{devices}/0000:02:00.0/config', pci_config(0x14E4, 0x1677, 0x020000, 0x01, 64))
    write(f'{devices}/0000:00:1f.6/config', pci_config(0x8086, 0xA131, 0x118000, 0x31, 64))
    write(f'{devices}/0000:03:00.0/config', pci_config(0x1B21, 0x0612, 0x010601, 0x01, 64))
    # Another PCI domain, out of the libraries' reach.
    write(f'{devices}/0001:00:00.0/config', pci_config(0x8086, 0x3405, 0x060000, 0x13, 256))
    write(f'{devices}/not-a-function/config', pci_config(0x1234, 0x5678, 0x020000, 0x00, 64))
    os.makedirs(f'{root}/bus/pci/drivers/nouveau', exist_ok=True)
    link(f'{root}/bus/pci/drivers/nouveau/module', '../../../../module/nouveau')
    write(f'{root}/module/nouveau/version', '1.3.1\n')

    i2c = f'{root}/bus/i2c/devices'
    write(f'{i2c}/0-0050/name', 'spd\n')
    write(f'{i2c}/0-0050/eeprom', ddr3_spd(0x02, 0x01, b'\x12\x34\x56\x78', 'TEST-1GB-DDR3'))
    write(f'{i2c}/0-0052/name', 'eeprom\n')
    write(f'{i2c}/0-0052/eeprom', ddr3_spd(0x03, 0x09, b'\x9A\xBC\xDE\xF0', 'TEST-4GB-DDR3'))
    write(f'{i2c}/0-0048/name', 'lm75\n')
    write(f'{i2c}/1-0050/name', 'spd\n')
    write(f'{i2c}/1-0050/eeprom', bytes([0x55]) * 256)
    write(f'{i2c}/i2c-0/name', 'SMBus I801 adapter at f000\n')

    hwmon = f'{root}/class/hwmon'
    write(f'{hwmon}/hwmon0/name', 'coretemp\n')
    write(f'{hwmon}/hwmon0/temp1_input', '45000\n')
    write(f'{hwmon}/hwmon0/temp1_label', 'Package id 0\n')
    write(f'{hwmon}/hwmon0/temp2_input', '43000\n')
    write(f'{hwmon}/hwmon0/temp2_label', 'Core 0\n')
    write(f'{hwmon}/hwmon1/name', 'nct6775\n')
    for index, label, millivolts in [(0, 'Vcore', 1104), (2, 'AVCC', 3360), (3, '+3.3V', 3344),
                                     (4, '+5V', 5040), (5, '+12V', 12096), (7, '3VSB', 3392)]:
        write(f'{hwmon}/hwmon1/in{index}_input', f'{millivolts}\n')
        write(f'{hwmon}/hwmon1/in{index}_label', f'{label}\n')
    write(f'{hwmon}/hwmon1/temp1_input', '36000\n')
    write(f'{hwmon}/hwmon1/temp1_label', 'SYSTIN\n')
    write(f'{hwmon}/hwmon1/temp2_input', '41500\n')
    write(f'{hwmon}/hwmon1/temp2_label', 'CPUTIN\n')
    write(f'{hwmon}/hwmon1/fan1_input', '0\n')
    write(f'{hwmon}/hwmon1/fan2_input', '1325\n')
    write(f'{hwmon}/hwmon1/temp3_input', 'unreadable\n')

    drm = f'{root}/class/drm'
    write(f'{drm}/card0/device/vendor', '0x8086\n')
    write(f'{drm}/card0/device/device', '0x0152\n')
    write(f'{drm}/card0/device/boot_vga', '0\n')
    link(f'{drm}/card0/device/driver', '../../../../bus/pci/drivers/i915')
    write(f'{drm}/card1/device/vendor', '0x10de\n')
    write(f'{drm}/card1/device/device', '0x0622\n')
    write(f'{drm}/card1/device/boot_vga', '1\n')
    link(f'{drm}/card1/device/driver', '../../../../bus/pci/drivers/nouveau')
    write(f'{drm}/card1-DVI-I-1/status', 'connected\n')
    write(f'{drm}/renderD128/dev', '226:128\n')


def laptop(root):
    write(f'{root}/bus/i2c/devices/3-0050/name', 'ee1004\n')
    write(f'{root}/bus/i2c/devices/3-0050/eeprom', ddr4_spd())
    hwmon = f'{root}/class/hwmon'
    write(f'{hwmon}/hwmon0/device/name', 'k10temp\n')
    write(f'{hwmon}/hwmon0/device/temp1_input', '55250\n')
    write(f'{hwmon}/hwmon0/device/temp1_label', 'Tctl\n')
    write(f'{hwmon}/hwmon1/name', 'acpitz\n')
    write(f'{hwmon}/hwmon1/temp1_input', '27800\n')
    write(f'{root}/class/drm/card0/device/boot_vga', '1\n')
    link(f'{root}/class/drm/card0/device/driver', '../../../../bus/platform/drivers/simple-framebuffer')
    # Readable by every user; board_serial and product_serial are root's only, so they are absent.
    dmi = f'{root}/class/dmi/id'
    for name, value in [('bios_vendor', 'Insyde Corp.'), ('bios_version', 'F.21'), ('bios_date', '03/14/2022'),
                        ('sys_vendor', 'Quillon'), ('product_name', 'Notebook 14-dq2000'),
                        ('product_version', 'Type1ProductConfigId'), ('board_vendor', 'Quillon'),
                        ('board_name', '88D2'), ('board_version', '56.28')]:
        write(f'{dmi}/{name}', value + '\n')


def laptop_proc(root):
    flags = ('fpu vme de pse tsc msr pae mce cx8 apic sep mtrr pge mca cmov pat pse36 clflush dts acpi mmx fxsr '
             'sse sse2 ss ht tm pbe syscall nx lm')
    cpu = ''
    for number in range(2):
        cpu += (f'processor\t: {number}\nvendor_id\t: GenuineIntel\ncpu family\t: 6\nmodel\t\t: 140\n'
                f'model name\t: 11th Gen Intel(R) Core(TM) i5-1135G7 @ 2.40GHz\nstepping\t: 1\n'
                f'cpu MHz\t\t: 2419.200\nflags\t\t: {flags}\n\n')
    write(f'{root}/cpuinfo', cpu)
    write(f'{root}/meminfo', 'MemTotal:        8000000 kB\nMemFree:         1000000 kB\n'
                             'MemAvailable:    6000000 kB\nBuffers:          100000 kB\n')


def header_stripped(path):
    """The lines of a realdata file after its '# ' header lines."""
    with open(path, encoding='utf-8') as f:
        lines = f.read().split('\n')
    while lines and lines[0].startswith('# '):
        lines.pop(0)
    return lines


# sensors read-outs -> chips of (chip name, [(attribute base "temp1", label or None, kernel value)])
UNITS = {'V': ('in', 1000), 'mV': ('in', 1), 'C': ('temp', 1000), '\u00b0C': ('temp', 1000),
         '\u2592C': ('temp', 1000), 'RPM': ('fan', 1), 'W': ('power', 1000000), 'A': ('curr', 1000)}
READING = re.compile(r'^(?P<label>[^ ].*?):\s+(?P<value>[+-]?[0-9.]+)\s?(?P<unit>mV|V|\u00b0C|\u2592C|C|RPM|W|A)(\s|$)')
DEFAULT_NAME = re.compile(r'^(in|temp|fan|power|curr)[0-9]+$')
FIRST_INDEX = {'in': 0, 'temp': 1, 'fan': 1, 'power': 1, 'curr': 1}


def chip_name(header):
    """'coretemp-isa-0000' -> 'coretemp' (the hwmon name attribute)."""
    return re.sub(r'-(isa|pci|i2c|acpi|virtual|hid|platform)-.*$', '', header)


def plain_chips(lines):
    """Plain `sensors` output: a chip header, its 'Adapter:' line, one reading per line."""
    chips = []
    for number, line in enumerate(lines):
        if number + 1 < len(lines) and lines[number + 1].startswith('Adapter:'):
            chips.append((chip_name(line.strip()), []))
            continue
        match = READING.match(line)
        if not chips or not match:
            continue  # continuation lines, N/A, alarms, pwm, the author's '...'
        family, scale = UNITS[match['unit']]
        chips[-1][1].append((family, match['label'], round(float(match['value']) * scale)))
    result = []
    for name, readings in chips:
        # Bare input names keep their number; labelled readings take the next free one.
        used = {label for _, label, _ in readings if DEFAULT_NAME.match(label)}
        next_index = dict(FIRST_INDEX)
        attributes = []
        for family, label, value in readings:
            if DEFAULT_NAME.match(label):
                attributes.append((label, None, value))
                continue
            while f'{family}{next_index[family]}' in used:
                next_index[family] += 1
            base = f'{family}{next_index[family]}'
            used.add(base)
            attributes.append((base, label, value))
        result.append((name, attributes))
    return result


def raw_chips(chip_map):
    """`sensors -u` / `sensors -j` readings: the attribute names are the kernel's own."""
    result = []
    for header, features in chip_map:
        attributes = []
        for label, values in features:
            for attribute, value in values:
                match = re.match(r'^(in|temp|fan|power|curr)([0-9]+)_(input|average)$', attribute)
                if not match:
                    continue
                family = match[1]
                scale = {'in': 1000, 'temp': 1000, 'fan': 1, 'power': 1000000, 'curr': 1000}[family]
                base = family + match[2]
                suffix = '_' + match[3]
                attributes.append((base + suffix, None if label == base else label, round(value * scale)))
        result.append((chip_name(header), attributes))
    return result


def dash_u_chips(lines):
    chips, feature = [], None
    for number, line in enumerate(lines):
        if number + 1 < len(lines) and lines[number + 1].startswith('Adapter:'):
            chips.append((line.strip(), []))
        elif line.startswith('  ') and ':' in line and chips and feature is not None:
            attribute, value = line.strip().split(':', 1)
            feature[1].append((attribute, float(value)))
        elif line.endswith(':') and chips:
            feature = (line[:-1], [])
            chips[-1][1].append(feature)
    return raw_chips(chips)


def json_chips(lines):
    data = json.loads('\n'.join(lines))
    return raw_chips([(header, [(label, list(values.items())) for label, values in features.items()
                                if isinstance(values, dict)]) for header, features in data.items()])


def sections(lines):
    """The parts of a file split at '#' lines (the pasted prompts and markers)."""
    parts, part = [], []
    for line in lines:
        if line.startswith('#'):
            parts.append(part)
            part = []
        else:
            part.append(line)
    parts.append(part)
    return [p for p in parts if any(l.strip() for l in p)]


def write_hwmon(root, chips):
    for number, (name, attributes) in enumerate(chips):
        folder = f'{root}/class/hwmon/hwmon{number}'
        write(f'{folder}/name', name + '\n')
        for attribute, label, value in attributes:
            file = attribute if attribute.endswith(('_input', '_average')) else attribute + (
                '_average' if attribute.startswith('power') else '_input')
            write(f'{folder}/{file}', f'{value}\n')
            if label is not None:
                write(f'{folder}/{re.sub(r"_(input|average)$", "", file)}_label', label + '\n')


def write_path_content(root, lines):
    """'path: content' or 'path:content' lines (uevent continued on indented lines) under /sys."""
    current = None
    for line in lines:
        if line.startswith('    ') and current:
            with open(current, 'a') as f:
                f.write(line.strip() + '\n')
            continue
        if not line.startswith('/sys/') or ' -> ' in line:
            continue
        # 'path: content' (the paths hold colons themselves), or grep's 'path:content'.
        path, value = line.split(': ', 1) if ': ' in line else line.rsplit(':', 1)
        content = '' if value in ('(empty)', '') else value + '\n'
        current = f'{root}/{path[len("/sys/"):]}'
        write(current, content)


def write_find_output(root, lines):
    """`find -print -exec cat` output: a path line, then its content line (or cat's complaint)."""
    for path, content in zip(lines, lines[1:] + ['']):
        if path.startswith('/sys/') and not content.startswith(('/sys/', 'cat:')):
            write(f'{root}/{path[5:]}', content + '\n')


def write_uevent_battery(root, lines, name='BAT0'):
    """A battery's uevent as the attribute files the kernel shows beside it."""
    folder = f'{root}/class/power_supply/{name}'
    write(f'{folder}/type', 'Battery\n')
    for line in lines:
        key, _, value = line.partition('=')
        if key.startswith('POWER_SUPPLY_') and key != 'POWER_SUPPLY_NAME':
            write(f'{folder}/{key[len("POWER_SUPPLY_"):].lower()}', value + '\n')


def link_zones(root):
    """Every RAPL zone also appears in class/powercap, as the kernel links them."""
    base = f'{root}/class/powercap'
    for folder, _, _ in sorted(os.walk(base)):
        zone = os.path.basename(folder)
        if zone.startswith('intel-rapl:') and os.path.dirname(folder) != base:
            link(f'{base}/{zone}', os.path.relpath(folder, base))
    for folder, _, _ in sorted(os.walk(f'{root}/devices/virtual/powercap')):
        zone = os.path.basename(folder)
        if zone.startswith('intel-rapl:'):
            link(f'{base}/{zone}', os.path.relpath(folder, base))


def link_battery(root):
    for folder, _, _ in os.walk(f'{root}/devices'):
        if os.path.basename(os.path.dirname(folder)) == 'power_supply':
            name = os.path.basename(folder)
            link(f'{root}/class/power_supply/{name}', os.path.relpath(folder, f'{root}/class/power_supply'))
            write(f'{folder}/type', 'Battery\n')


SENSORS = 'realdata/sensors/'
SYSFS = 'realdata/sysfs/'
# tree: (sensors read-out and which part of it, sysfs samples and how they are written)
FIXTURES = {
    'real-z390-desktop': (SENSORS + 'intel-desktop-asrock-z390-taichi-nct6791-nct6793.txt', 0,
                          [(SYSFS + 'procfs-fixture__powercap-intel-rapl.txt', write_path_content)]),
    'real-z390-configured': (SENSORS + 'intel-desktop-asrock-z390-taichi-nct6791-nct6793.txt', 1,
                             [(SYSFS + 'procfs-fixture__powercap-intel-rapl.txt', write_path_content)]),
    'real-nct6798-desktop': (SENSORS + 'intel-desktop-asrock-nct6798-hybrid-cpu.sensors-j.txt', 0,
                             [(SYSFS + 'powercap__intel-thermal_daemon-45__i7-4770S-haswell-dram-excerpt.txt',
                               write_path_content)]),
    'real-x1-carbon-laptop': (SENSORS + 'intel-laptop-lenovo-thinkpad-x1-carbon-gen9.txt', 0,
                              [(SYSFS + 'procfs-fixture__power_supply-BAT0-thinkpad.txt', write_path_content)]),
    'real-t14s-laptop': (SENSORS + 'amd-laptop-lenovo-thinkpad-t14s-gen1-amd.txt', 0,
                         [(SYSFS + 'power_supply-BAT0-uevent__i3-i3status-288__lenovo-42T4865-charging.txt',
                           write_uevent_battery)]),
    'real-x570-desktop': (SENSORS + 'amd-desktop-gigabyte-x570-aorus-master.txt', 0, []),
    'real-x470-amdgpu': (SENSORS + 'amd-desktop-asus-rog-strix-x470-i-amdgpu.txt', 1, []),
    'real-xeon-workstation': (SENSORS + 'intel-workstation-asus-ws-c621e-sage-dual-xeon.txt', 0,
                              [(SYSFS + 'powercap__intel-powertelemetry-3__multi-socket-intel-rapl-1-excerpt.txt',
                                write_find_output)]),
    'real-rpi4': (SENSORS + 'arm-raspberry-pi-4-gpio-fan.txt', 0,
                  [(SYSFS + 'power_supply-BAT0-uevent__rjekker-i3-battery-popup-4__dell-xps15-9560-discharging.txt',
                    write_uevent_battery)]),
}


def real(root, sensors_file, part, samples):
    lines = header_stripped(sensors_file)
    if sensors_file.endswith('.sensors-j.txt'):
        chips = json_chips(lines)
    else:
        chosen = sections(lines)[part]
        chips = dash_u_chips(chosen) if any(l.startswith('  ') and '_input:' in l for l in chosen) \
            else plain_chips(chosen)
    write_hwmon(root, chips)
    for sample, writer in samples:
        writer(root, header_stripped(sample))
    link_zones(root)
    link_battery(root)


for name, build in [('desktop', desktop), ('laptop', laptop), ('laptop-proc', laptop_proc)]:
    shutil.rmtree(name, ignore_errors=True)
    build(name)
for name, (sensors_file, part, samples) in FIXTURES.items():
    shutil.rmtree(name, ignore_errors=True)
    real(name, sensors_file, part, samples)

write('pci.ids', '# PCI ID list of the host tests\n'
      '8086  Intel Corporation\n'
      '\t2e30  4 Series Chipset DRAM Controller\n'
      '\ta131  100 Series/C230 Series Chipset Family Thermal Subsystem\n'
      '10de  NVIDIA Corporation\n'
      '\t0622  G94 [GeForce 9600 GT]\n'
      '14e4  Broadcom Inc. and subsidiaries\n'
      '\t1677  NetXtreme BCM5751 Gigabit Ethernet PCI Express\n')
