#!/usr/bin/env python3
"""Writes resources/tables/sysreg2.xml, the system register table of panels
with an integrated controller.

The table is generated rather than typed because most of it consists of
per-port, per-axis and per-channel blocks that must stay in step with one
another; editing the block layout here and re-running keeps the numbering and
the remark texts consistent.  The build does not run this script: its output is
committed next to it, so regenerate and commit both after a change.

Usage: python3 tools/gensysreg2.py [output-path]
"""

import os
import sys
from xml.sax.saxutils import escape

# The editor only cares about the row count and the address ranges; the loader
# and its tests depend on these exact figures, so they are checked on every run.
BOOL_COUNT = 334
WORD_COUNT = 513
M_RANGE = (1000, 1812)
D_RANGE = (1000, 1903)

# Both spellings of the read/write flag occur in the delivered data and the
# loader ignores the column, so blocks keep whichever their authors used.
R = "R"
RW = "R/W"
RW_ = "R/W "


class Table:
    def __init__(self, area, type_, length, lo, hi):
        self.area = area
        self.type = type_
        self.length = length
        self.lo = lo
        self.hi = hi
        self.rows = {}

    def add(self, number, mark, default, rw):
        if not self.lo <= number <= self.hi:
            raise SystemExit("%s %d lies outside %d..%d" % (self.area, number, self.lo, self.hi))
        if number in self.rows:
            raise SystemExit("%s %d defined twice" % (self.area, number))
        self.rows[number] = (mark, default, rw)

    def block(self, start, entries):
        """entries: (mark, default, rw) tuples placed at consecutive numbers."""
        for offset, (mark, default, rw) in enumerate(entries):
            self.add(start + offset, mark, default, rw)

    def numbered(self, start, count, template, default, rw, first=0):
        """One row per channel; template gets the channel number."""
        for i in range(count):
            self.add(start + i, template.format(first + i), default, rw)


def bit_rows(m):
    # System status and clock pulses: user programs rely on these positions,
    # so the first block has no gaps.
    m.block(1000, [
        ("上电ON", "On", R),
        ("上电OFF", "Off", R),
        ("首次扫描ON脉冲", "Off", R),
        ("首次扫描OFF脉冲", "On", R),
        ("运行监视（运行时ON）", "Off", R),
        ("运行监视（运行时OFF）", "On", R),
        ("扫描超时标志", "Off", R),
        ("电池电压低标志", "Off", R),
        ("程序校验错误", "Off", R),
        ("看门狗复位标志", "Off", R),
        ("10ms 时钟脉冲， 5ms On / 5ms Off", "Off", R),
        ("100ms 时钟脉冲， 50ms On / 50ms Off", "Off", R),
        ("200ms 时钟脉冲， 100ms On / 100ms Off", "Off", R),
        ("1s 时钟脉冲， 0.5s On / 0.5s Off ", "Off", R),
        ("2s 时钟脉冲， 1s On / 1s Off", "Off", R),
        ("1min 时钟脉冲， 30s On / 30s Off", "Off", R),
        ("扫描周期交替脉冲", "Off", R),
        ("停止时禁止全部输出Y", "Off", RW),
        ("禁止全部中断", "Off", RW),
        ("恒定扫描模式", "Off", RW),
    ])

    m.block(1020, [(text, "Off", R) for text in (
        "零标志",
        "借位标志",
        "进位标志",
        "溢出标志",
        "除数为零错误",
        "运算结果为负",
        "浮点运算精度丢失",
        "BCD 转换错误",
        "数据超出范围",
        "指令执行完成",
        "指令执行错误",
        "循环次数溢出",
        "移位溢出",
        "搜索结果未找到",
        "排序完成",
        "表格处理完成",
    )])

    m.block(1040, [
        ("禁止步进状态转移", "Off", RW),
        ("步进状态转移开始", "Off", RW),
        ("暂停运行请求", "Off", RW),
        ("单步执行模式", "Off", RW),
        ("允许运行中修改程序", "Off", RW),
        ("程序写保护", "Off", RW),
        ("步进状态动作中", "Off", R),
        ("步进状态监控有效", "Off", RW),
        ("报警器动作中", "Off", R),
        ("报警器监控有效", "Off", RW),
        ("停止时保持输出", "Off", RW),
    ])

    # Serial ports: a fixed stride of 20 per port leaves room for flags
    # without renumbering the following ports.
    port_flags = [
        ("发送请求", "Off", RW),
        ("发送中", "Off", R),
        ("发送完成", "Off", R),
        ("接收中", "Off", R),
        ("接收完成", "Off", R),
        ("接收超时", "Off", R),
        ("校验错误", "Off", R),
        ("帧格式错误", "Off", R),
        ("接收缓冲区溢出", "Off", R),
        ("通讯错误", "Off", R),
        ("从站无响应", "Off", R),
        ("主站模式", "Off", RW),
        ("自由口模式", "Off", RW),
        ("接收结束符有效", "Off", RW),
        ("16位数据模式", "Off", RW),
        ("清除错误计数", "Off", RW),
    ]
    for port in (1, 2, 3):
        m.block(1100 + 20 * (port - 1),
                [("COM%d %s" % (port, text), d, rw) for text, d, rw in port_flags])

    m.numbered(1160, 16, "Modbus 主站请求 {} 完成", "Off", R)
    m.numbered(1176, 16, "Modbus 主站请求 {} 错误", "Off", R)

    m.numbered(1200, 8, "HSC{} 计数方向设定（On 减计数）", "Off", RW)
    m.numbered(1210, 8, "HSC{} 计数方向监视", "Off", R)
    m.numbered(1220, 8, "HSC{} 计数启动", "Off", RW)
    m.numbered(1230, 8, "HSC{} 计数复位", "Off", RW)
    m.numbered(1240, 8, "HSC{} 比较值到达", "Off", R)

    m.numbered(1300, 8, "禁止外部中断 X{}", "Off", RW)
    m.numbered(1310, 4, "禁止定时中断 {}", "Off", RW)
    m.numbered(1320, 8, "禁止高速计数中断 HSC{}", "Off", RW)

    # Pulse outputs: one flag per axis Y0..Y3, grouped by meaning so that a
    # program can test all axes with one word read.
    for base, text, rw in (
        (1400, "Y{} 脉冲输出中", R),
        (1404, "Y{} 脉冲输出停止", RW),
        (1408, "Y{} 定位完成", R),
        (1412, "Y{} 方向信号", R),
        (1416, "Y{} 原点回归中", R),
        (1420, "Y{} 定位错误", R),
        (1424, "Y{} 正向限位", R),
        (1428, "Y{} 反向限位", R),
    ):
        m.numbered(base, 4, text, "Off", rw)

    m.numbered(1460, 8, "PID{} 自整定启动", "Off", RW)
    m.numbered(1470, 8, "PID{} 自整定完成", "Off", R)

    m.block(1500, [
        ("系统错误总标志", "Off", R),
        ("程序语法错误", "Off", R),
        ("程序回路错误", "Off", R),
        ("指令操作数错误", "Off", R),
        ("运算错误", "Off", R),
        ("堆栈溢出", "Off", R),
        ("存储器写入错误", "Off", R),
        ("存储器校验错误", "Off", R),
        ("I/O 配置错误", "Off", R),
        ("扩展模块通讯错误", "Off", R),
        ("扩展模块数量超限", "Off", R),
        ("看门狗超时", "Off", R),
        ("电源异常", "Off", R),
        ("时钟芯片错误", "Off", R),
        ("Flash 写入失败", "Off", R),
        ("Flash 擦除失败", "Off", R),
        ("定时器编号越界", "Off", R),
        ("计数器编号越界", "Off", R),
        ("间接寻址越界", "Off", R),
        ("清除错误标志", "Off", RW),
    ])

    m.numbered(1540, 8, "扩展模块 {} 在线", "Off", R, first=1)
    m.numbered(1550, 8, "扩展模块 {} 故障", "Off", R, first=1)

    m.block(1600, [
        ("实时时钟读取请求", "Off", RW),
        ("实时时钟写入请求", "Off", RW),
        ("实时时钟±30秒校正", "Off", RW),
        ("实时时钟停止", "Off", RW),
        ("实时时钟错误", "Off", R),
        ("实时时钟写入完成", "Off", R),
        ("年份按4位显示", "On", RW),
        ("夏令时开启", "Off", RW),
        ("实时时钟数据有效", "On", R),
        ("整点脉冲", "Off", R),
    ])

    m.numbered(1640, 8, "模拟量输入通道 {} 断线", "Off", R)
    m.numbered(1650, 8, "模拟量输入通道 {} 超量程", "Off", R)

    m.block(1700, [
        ("背光常亮", "Off", RW_),
        ("背光关闭请求", "Off", RW_),
        ("屏幕保护中", "Off", R),
        ("触摸屏按下", "Off", R),
        ("触摸屏校准请求", "Off", RW_),
        ("蜂鸣器开启", "Off", RW_),
        ("按键提示音开启", "On", RW_),
        ("画面切换完成", "Off", R),
        ("画面切换请求", "Off", RW_),
        ("报警弹窗显示中", "Off", R),
        ("禁止触摸", "Off", RW_),
        ("背光亮度自动调节", "Off", RW_),
        ("显示方向垂直", "Off", R),
        ("HMI 启动完成", "Off", R),
        ("HMI 工程下载中", "Off", R),
        ("HMI 重启请求", "Off", RW_),
    ])

    m.block(1760, [
        ("spi-flash 读请求", "Off", RW),
        ("spi-flash 写请求", "Off", RW),
        ("spi-flash 擦除请求", "Off", RW),
        ("spi-flash 操作中", "Off", R),
        ("spi-flash 操作完成", "Off", R),
        ("spi-flash 操作错误", "Off", R),
        ("spi-flash 写保护", "On", RW),
        ("掉电保持数据保存请求", "Off", RW),
    ])

    m.block(1800, [
        ("HMI 通讯连接正常", "Off", R),
        ("HMI 数据刷新完成", "Off", R),
        ("HMI 配方下载请求", "Off", RW),
        ("HMI 配方上传请求", "Off", RW),
        ("HMI 报警确认", "Off", RW),
        ("HMI 历史数据保存请求", "Off", RW),
        ("HMI 占用串口1", "Off", R),
        ("HMI 占用串口2", "Off", R),
        ("HMI 占用串口3", "Off", R),
        ("HMI 释放串口请求", "Off", RW),
        ("HMI自动接管串口1", "Off", RW),
        ("HMI自动接管串口2", "Off", RW),
        ("HMI自动接管串口3", "Off", RW),
    ])


def word_rows(d):
    d.block(1000, [
        ("扫描时间看门狗设定值（1ms），超时即停机", "200", RW),
        ("固件版本号", "0", R),
        ("程序容量（步）", "0", R),
        ("程序校验和", "0", R),
        ("当前错误代码", "0", R),
        ("错误发生步号", "0", R),
        ("电源电压（0.1V）", "0", R),
        ("电池电压（0.1V）", "0", R),
        ("CPU 温度（℃）", "0", R),
        ("上电次数", "0", R),
        ("当前扫描时间（0.1ms）", "0", R),
        ("最小扫描时间（0.1ms）", "0", R),
        ("最大扫描时间（0.1ms）", "0", R),
        ("恒定扫描时间设定（1ms）", "0", RW),
        ("运行模式（0 停止 1 运行）", "0", R),
        ("掉电保持起始地址", "0", RW),
        ("掉电保持结束地址", "0", RW),
        ("步进状态最小动作号", "0", R),
        ("报警器最小动作号", "0", R),
    ])

    d.numbered(1020, 16, "X{} 输入滤波时间（1ms）", "10", RW_)
    d.numbered(1040, 10, "错误代码记录 {}", "0", R, first=1)
    d.numbered(1050, 10, "错误步号记录 {}", "0", R, first=1)
    d.numbered(1060, 8, "变址寄存器 V{}", "0", RW)
    d.numbered(1068, 8, "变址寄存器 Z{}", "0", RW)

    # Same stride as the port flags in M; the first three rows of a port are
    # what the panel reads to configure its own side of the line.
    port_words = [
        ("通讯格式 （0x87 8N1-E）", "0x87", RW),
        ("超时时间（1ms）", "1000", RW),
        ("从站地址", "1", RW),
        ("通讯协议（0 从站 1 主站 2 自由口）", "0", RW),
        ("重试次数", "3", RW),
        ("发送延时（1ms）", "0", RW),
        ("字符间隔时间（1ms）", "0", RW),
        ("自由口起始字符", "0", RW),
        ("自由口结束字符", "0", RW),
        ("接收字节数上限", "0", RW),
        ("当前接收字节数", "0", R),
        ("已发送字节数", "0", R),
        ("错误代码", "0", R),
        ("错误次数", "0", R),
        ("累计错误次数", "0", R),
        ("发送缓冲区起始地址", "0", RW),
        ("接收缓冲区起始地址", "0", RW),
        ("通讯状态", "0", R),
        ("最近一次通讯耗时（1ms）", "0", R),
        ("波特率（×100）", "96", RW),
    ]
    for port in (1, 2, 3):
        d.block(1100 + 20 * (port - 1),
                [("COM%d %s" % (port, text), default, rw) for text, default, rw in port_words])

    d.numbered(1160, 16, "Modbus 主站请求 {} 错误代码", "0", R)
    d.numbered(1176, 16, "Modbus 主站请求 {} 响应时间（1ms）", "0", R)

    # 32-bit counter values occupy a low and a high word each.
    for base, text, rw in (
        (1200, "HSC{} 当前值", R),
        (1220, "HSC{} 设定值", RW),
        (1240, "HSC{} 预置值", RW),
    ):
        for ch in range(8):
            d.add(base + 2 * ch, (text + "（低字）").format(ch), "0", rw)
            d.add(base + 2 * ch + 1, (text + "（高字）").format(ch), "0", rw)
    d.numbered(1260, 8, "HSC{} 计数模式", "0", RW)
    d.numbered(1270, 8, "HSC{} 频率测量值（Hz）", "0", R)

    d.numbered(1300, 4, "定时中断 {} 周期（1ms）", "10", RW)
    d.numbered(1310, 8, "外部中断 X{} 触发方式（0 上升沿 1 下降沿）", "0", RW)

    axis_words = [
        ("当前位置（低字）", "0", R),
        ("当前位置（高字）", "0", R),
        ("当前输出频率（低字）", "0", R),
        ("当前输出频率（高字）", "0", R),
        ("最高频率（低字）", "0", RW_),
        ("最高频率（高字）", "0", RW_),
        ("起始频率（Hz）", "100", RW_),
        ("加速时间（1ms）", "100", RW_),
        ("减速时间（1ms）", "100", RW_),
        ("原点回归速度（Hz）", "1000", RW_),
        ("原点回归爬行速度（Hz）", "100", RW_),
        ("原点偏移量（低字）", "0", RW_),
        ("原点偏移量（高字）", "0", RW_),
        ("脉冲输出模式", "0", RW_),
        ("定位错误代码", "0", R),
        ("剩余脉冲数", "0", R),
    ]
    for axis in range(4):
        d.block(1400 + 20 * axis,
                [("Y%d %s" % (axis, text), default, rw) for text, default, rw in axis_words])

    pid_words = [
        ("设定值 SV", "0", RW_),
        ("测量值 PV", "0", R),
        ("输出值 MV", "0", R),
        ("比例增益 Kp", "100", RW_),
        ("积分时间 Ti（0.1s）", "50", RW_),
        ("微分时间 Td（0.1s）", "0", RW_),
        ("采样周期（1ms）", "100", RW_),
        ("输出上限", "1000", RW_),
    ]
    for loop in range(8):
        d.block(1500 + 10 * loop,
                [("PID%d %s" % (loop, text), default, rw) for text, default, rw in pid_words])

    d.block(1600, [
        ("实时时钟 年（2000-2099）", "0", RW),
        ("实时时钟 月（1-12）", "1", RW),
        ("实时时钟 日（1-31）", "1", RW),
        ("实时时钟 时（0-23）", "0", RW),
        ("实时时钟 分（0-59）", "0", RW),
        ("实时时钟 秒（0-59）", "0", RW),
        ("实时时钟 星期（0 星期日）", "0", RW),
        ("实时时钟校正值（秒）", "0", RW),
        ("时区（相对 UTC 的小时数）", "8", RW),
        ("夏令时偏移（分钟）", "60", RW),
    ])

    d.numbered(1620, 8, "模拟量输入通道 {} 数值", "0", R)
    d.numbered(1640, 8, "模拟量输入通道 {} 滤波常数", "8", RW)
    d.numbered(1650, 4, "模拟量输出通道 {} 数值", "0", RW)

    d.numbered(1700, 8, "扩展模块 {} 型号代码", "0", R, first=1)
    d.numbered(1710, 8, "扩展模块 {} 错误代码", "0", R, first=1)

    d.block(1800, [
        ("当前画面编号", "0", R),
        ("起始画面编号", "0", RW),
        ("屏幕背光亮度", "5", RW),
        ("背光关闭时间（s，0 不关闭）", "0", RW),
        ("屏幕保护时间（s，0 不启用）", "0", RW),
        ("蜂鸣器音量", "3", RW),
        ("触摸 X 坐标", "0", R),
        ("触摸 Y 坐标", "0", R),
        ("当前语言编号", "0", RW),
        ("当前用户权限等级", "0", R),
        ("画面切换请求编号", "0", RW),
        ("当前报警数量", "0", R),
        ("画面刷新周期（1ms）", "100", RW),
        ("HMI 通讯端口选择", "0", RW),
        ("HMI 通讯超时（1ms）", "1000", RW),
        ("HMI 固件版本号", "0", R),
    ])
    d.numbered(1820, 30, "HMI 数据交换区 {}", "0", RW_)

    # The flash buffer holds up to 50 words, which is where the 0-50 limit
    # of the length register comes from.
    d.numbered(1850, 50, "spi-flash 数据缓冲区 {}", "0", RW)
    d.block(1900, [
        ("spi-flash 操作命令（1 读 2 写 3 擦除）", "0", RW),
        ("spi-flash 地址（低字）", "0", RW),
        ("spi-flash 地址（高字）", "0", RW),
        ("读取spi-flash长度 0-50", "0", RW),
    ])


def attr(value):
    return escape(value, {'"': "&quot;", "\n": "&#10;", "\t": "&#9;"})


def build():
    m = Table("M", "Bool", "1", *M_RANGE)
    d = Table("D", "Int16", "2", *D_RANGE)
    bit_rows(m)
    word_rows(d)
    if len(m.rows) != BOOL_COUNT or len(d.rows) != WORD_COUNT:
        raise SystemExit("row counts %d/%d, expected %d/%d"
                         % (len(m.rows), len(d.rows), BOOL_COUNT, WORD_COUNT))
    # The ends of both ranges are documented rows; make sure they exist.
    for table in (m, d):
        if min(table.rows) != table.lo or max(table.rows) != table.hi:
            raise SystemExit("%s does not span its whole range" % table.area)

    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<Register>"]
    index = 0
    for table in (m, d):
        for number in sorted(table.rows):
            mark, default, rw = table.rows[number]
            lines.append(
                '    <reg%d name="%s%d" default="%s" mark="%s" length="%s" type="%s"'
                ' device="local" address="%s %d" rw="%s"/>'
                % (index, table.area, number, attr(default), attr(mark),
                   table.length, table.type, table.area, number, attr(rw)))
            index += 1
    lines.append("</Register>")
    return "\n".join(lines) + "\n"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        here, os.pardir, "resources", "tables", "sysreg2.xml")
    data = build().encode("utf-8")
    with open(target, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
