<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AboutBox</name>
    <message>
        <source>%1
leebdesk %2

读入、查看、保存和打印里氏硬度计的测量记录。

许可证: GNU GPL 3.0 或更高版本 (GPL-3.0-or-later)
本程序不提供任何担保。

Qt %3 (运行于 Qt %4)
%5</source>
        <translation>%1
leebdesk %2

Upload, view, save and print the records of a Leeb hardness tester.

Licence: GNU GPL 3.0 or later (GPL-3.0-or-later)
This program comes with ABSOLUTELY NO WARRANTY.

Qt %3 (running on Qt %4)
%5</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
</context>
<context>
    <name>AmendDetailsDialog</name>
    <message>
        <source>修改信息</source>
        <translation>Amend details</translation>
    </message>
    <message numerus="yes">
        <source>%n 条记录。只有改动的项会修改; 原来的信息作为旧版本保留, 读数不会改变。</source>
        <translation>
            <numerusform>%n record. Only the fields you change are amended; the details before stay as an earlier version, and the readings never change.</numerusform>
            <numerusform>%n records. Only the fields you change are amended; the details before stay as an earlier version, and the readings never change.</numerusform>
        </translation>
    </message>
    <message>
        <source>零件</source>
        <translation>Part</translation>
    </message>
    <message>
        <source>批号</source>
        <translation>Lot</translation>
    </message>
    <message>
        <source>操作员</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>仪器</source>
        <translation>Instrument</translation>
    </message>
    <message>
        <source>标准</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Remarks</translation>
    </message>
    <message>
        <source>各不相同</source>
        <translation>(differ)</translation>
    </message>
    <message>
        <source>例如: 批号抄错</source>
        <translation>e.g. lot number misread</translation>
    </message>
    <message>
        <source>原因</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Amend</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>Archive</name>
    <message>
        <source>记录无法存入档案: %1</source>
        <translation>A record could not be archived: %1</translation>
    </message>
    <message>
        <source>无法打开档案: %1</source>
        <translation>Cannot open the archive: %1</translation>
    </message>
    <message>
        <source>不是 leebdesk 档案或文件已损坏, 未改动: %1</source>
        <translation>Not a leebdesk archive, or a damaged one; left untouched: %1</translation>
    </message>
    <message>
        <source>档案由较新版本的 leebdesk 写成, 未改动。</source>
        <translation>The archive was written by a newer leebdesk; left untouched.</translation>
    </message>
    <message>
        <source>写入档案失败, 档案未改动: %1</source>
        <translation>Cannot write to the archive; nothing was changed: %1</translation>
    </message>
    <message>
        <source>与档案服务器的连接中断, 未写入任何记录: %1</source>
        <translation>The connection to the archive server was lost; nothing was written: %1</translation>
    </message>
    <message>
        <source>档案中没有这条记录: %1</source>
        <translation>No such record in the archive: %1</translation>
    </message>
    <message>
        <source>档案不支持这项操作: %1</source>
        <translation>The archive does not support this: %1</translation>
    </message>
    <message>
        <source>%1 条新记录, %2 条已在档案中</source>
        <translation>%1 new records, %2 already in the archive</translation>
    </message>
    <message>
        <source>%1 条记录等待发送到档案服务器</source>
        <translation>%1 records wait to be sent to the archive server</translation>
    </message>
    <message>
        <source>合格</source>
        <translation>Pass</translation>
    </message>
    <message>
        <source>不合格</source>
        <translation>Fail</translation>
    </message>
    <message>
        <source>无限值</source>
        <translation>No limits</translation>
    </message>
    <message>
        <source>%1 (损坏: %2)</source>
        <translation>%1 (damaged: %2)</translation>
    </message>
    <message>
        <source>输出文件是档案本身或正在使用的档案, 不能覆盖: %1</source>
        <translation>The output is the archive itself, or an archive in use; it is not overwritten: %1</translation>
    </message>
    <message>
        <source>档案位置无法使用: %1</source>
        <translation>The archive location cannot be used: %1</translation>
    </message>
    <message>
        <source>没有这个档案, 未新建: %1</source>
        <translation>There is no archive at %1; none was made.</translation>
    </message>
    <message>
        <source>已读入 %1 条记录; 档案: %2 条新记录, %3 条已在档案中</source>
        <translation>%1 records read; archive: %2 new records, %3 already in the archive</translation>
    </message>
    <message>
        <source>%1 条记录未能存入档案。记录仍在窗口中: 请保存为记录文件, 以后再导入档案。
%2</source>
        <translation>%1 records could not be archived. They are still in the window: save them to a record file and import it into the archive later.
%2</translation>
    </message>
    <message>
        <source>没有写入档案的权限, 未改动: %1</source>
        <translation>You may not write the archive; nothing was changed: %1</translation>
    </message>
    <message>
        <source>%1 条新记录, %2 条已在档案中, 其中 %3 条更新了信息</source>
        <translation>%1 new records, %2 already in the archive, %3 of them with updated details</translation>
    </message>
</context>
<context>
    <name>ArchiveCommands</name>
    <message>
        <source>档案</source>
        <translation>Archive</translation>
    </message>
    <message>
        <source>档案…</source>
        <translation>Archive…</translation>
    </message>
    <message>
        <source>导入档案</source>
        <translation>Import into archive</translation>
    </message>
    <message>
        <source>存档</source>
        <translation>Archive uploads</translation>
    </message>
    <message>
        <source>读入的每条记录自动存入档案</source>
        <translation>Every record read in is kept in the archive</translation>
    </message>
    <message>
        <source>测量档案 (%1)</source>
        <translation>Measurement archive (%1)</translation>
    </message>
    <message>
        <source>存档已打开</source>
        <translation>Archiving is on</translation>
    </message>
    <message>
        <source>存档已关闭</source>
        <translation>Archiving is off</translation>
    </message>
    <message>
        <source>正在导入 %1…</source>
        <translation>Importing %1…</translation>
    </message>
    <message>
        <source>%1 未能导入档案。
%2</source>
        <translation>%1 could not be imported into the archive.
%2</translation>
    </message>
    <message>
        <source>正在读取趋势…</source>
        <translation>Reading the trend…</translation>
    </message>
    <message>
        <source>未能读取趋势。
%1</source>
        <translation>The trend could not be read.
%1</translation>
    </message>
</context>
<context>
    <name>ArchiveFilterBar</name>
    <message>
        <source>从</source>
        <translation>From</translation>
    </message>
    <message>
        <source>到</source>
        <translation>To</translation>
    </message>
    <message>
        <source>查找</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>材料</source>
        <translation>Material</translation>
    </message>
    <message>
        <source>硬度制</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>冲击装置</source>
        <translation>Impact device</translation>
    </message>
    <message>
        <source>判定</source>
        <translation>Verdict</translation>
    </message>
    <message>
        <source>零件</source>
        <translation>Part</translation>
    </message>
    <message>
        <source>批号</source>
        <translation>Lot</translation>
    </message>
    <message>
        <source>操作员</source>
        <translation>Operator</translation>
    </message>
</context>
<context>
    <name>ArchiveTableModel</name>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>材料</source>
        <translation>Material</translation>
    </message>
    <message>
        <source>硬度制</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>次数</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>平均值</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>判定</source>
        <translation>Verdict</translation>
    </message>
    <message>
        <source>零件</source>
        <translation>Part</translation>
    </message>
    <message>
        <source>批号</source>
        <translation>Lot</translation>
    </message>
    <message>
        <source>操作员</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>编号</source>
        <translation>Id</translation>
    </message>
    <message>
        <source>仪器记录号</source>
        <translation>Tester no.</translation>
    </message>
</context>
<context>
    <name>ArchiveTrend</name>
    <message>
        <source>日期 %1 至 %2</source>
        <translation>Date %1 to %2</translation>
    </message>
    <message>
        <source>材料 %1</source>
        <translation>Material %1</translation>
    </message>
    <message>
        <source>硬度制 %1</source>
        <translation>Scale %1</translation>
    </message>
    <message>
        <source>冲击装置 %1</source>
        <translation>Impact device %1</translation>
    </message>
    <message>
        <source>零件 %1</source>
        <translation>Part %1</translation>
    </message>
    <message>
        <source>批号 %1</source>
        <translation>Lot %1</translation>
    </message>
    <message>
        <source>操作员 %1</source>
        <translation>Operator %1</translation>
    </message>
    <message>
        <source>判定 合格</source>
        <translation>Verdict pass</translation>
    </message>
    <message>
        <source>判定 不合格</source>
        <translation>Verdict fail</translation>
    </message>
    <message>
        <source>判定 未设限</source>
        <translation>Verdict without limits</translation>
    </message>
</context>
<context>
    <name>ArchiveWindow</name>
    <message>
        <source>测量档案</source>
        <translation>Measurement archive</translation>
    </message>
    <message>
        <source>趋势…</source>
        <translation>Trend…</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>正在查找…</source>
        <translation>Searching…</translation>
    </message>
    <message>
        <source>%1 条记录</source>
        <translation>%1 records</translation>
    </message>
    <message>
        <source>修改信息…</source>
        <translation>Amend details…</translation>
    </message>
    <message>
        <source>更正所选记录的零件、批号、操作员等信息 (保留原来的版本)</source>
        <translation>Correct the part, lot, operator and other details of the chosen records (the earlier version is kept)</translation>
    </message>
    <message>
        <source>正在修改…</source>
        <translation>Amending…</translation>
    </message>
    <message>
        <source>已修改 %1 条记录的信息</source>
        <translation>Details amended on %1 records</translation>
    </message>
</context>
<context>
    <name>BarChart</name>
    <message>
        <source>硬度 / 强度测试情况</source>
        <translation>Hardness / Strength Readings</translation>
    </message>
</context>
<context>
    <name>ChartPdf</name>
    <message>
        <source>无法把图表写入 &quot;%1&quot;: %2</source>
        <translation>Cannot write the chart to &quot;%1&quot;: %2</translation>
    </message>
</context>
<context>
    <name>ChartPrintout</name>
    <message>
        <source>图表没有可打印的区域。</source>
        <translation>The chart has no area to print.</translation>
    </message>
    <message>
        <source>无法启动打印机。</source>
        <translation>The printer could not be started.</translation>
    </message>
    <message>
        <source>图表未能打印完。</source>
        <translation>The chart could not be printed.</translation>
    </message>
</context>
<context>
    <name>CliShow</name>
    <message>
        <source>统计次数</source>
        <translation>Readings used</translation>
    </message>
    <message>
        <source>有效最大值</source>
        <translation>Valid maximum</translation>
    </message>
    <message>
        <source>有效最小值</source>
        <translation>Valid minimum</translation>
    </message>
    <message>
        <source>有效平均值</source>
        <translation>Valid mean</translation>
    </message>
    <message>
        <source>无效读数</source>
        <translation>Invalid readings</translation>
    </message>
    <message>
        <source>标准偏差</source>
        <translation>Std dev</translation>
    </message>
    <message>
        <source>极差</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>下限</source>
        <translation>Lower limit</translation>
    </message>
    <message>
        <source>上限</source>
        <translation>Upper limit</translation>
    </message>
    <message>
        <source>判定</source>
        <translation>Result</translation>
    </message>
</context>
<context>
    <name>CodeTables</name>
    <message>
        <source>钢和铸钢</source>
        <translation>Steel/cast st.</translation>
    </message>
    <message>
        <source>合金工具钢</source>
        <translation>Alloy tool st.</translation>
    </message>
    <message>
        <source>不锈钢</source>
        <translation>Stainless steel</translation>
    </message>
    <message>
        <source>灰铸铁</source>
        <translation>Grey cast iron</translation>
    </message>
    <message>
        <source>球墨铸铁</source>
        <translation>Ductile iron</translation>
    </message>
    <message>
        <source>铸铝合金</source>
        <translation>Cast Al alloy</translation>
    </message>
    <message>
        <source>铜锌合金</source>
        <translation>Brass (Cu-Zn)</translation>
    </message>
    <message>
        <source>铜锡合金</source>
        <translation>Bronze (Cu-Sn)</translation>
    </message>
    <message>
        <source>纯铜</source>
        <translation>Pure copper</translation>
    </message>
    <message>
        <source>锻钢</source>
        <translation>Forged steel</translation>
    </message>
    <message>
        <source>低碳钢</source>
        <translation>Low-carbon st.</translation>
    </message>
    <message>
        <source>高碳钢</source>
        <translation>High-carbon st.</translation>
    </message>
    <message>
        <source>铬钢</source>
        <translation>Cr steel</translation>
    </message>
    <message>
        <source>铬钒钢</source>
        <translation>Cr-V steel</translation>
    </message>
    <message>
        <source>铬镍钢</source>
        <translation>Cr-Ni steel</translation>
    </message>
    <message>
        <source>铬钼钢</source>
        <translation>Cr-Mo steel</translation>
    </message>
    <message>
        <source>铬镍钼钢</source>
        <translation>Cr-Ni-Mo steel</translation>
    </message>
    <message>
        <source>铬锰硅钢</source>
        <translation>Cr-Mn-Si steel</translation>
    </message>
    <message>
        <source>超高强度钢</source>
        <translation>Ultra-HS steel</translation>
    </message>
    <message>
        <source>垂直向下</source>
        <translation>vertically down</translation>
    </message>
    <message>
        <source>45°向下</source>
        <translation>45° down</translation>
    </message>
    <message>
        <source>水平</source>
        <translation>horizontal</translation>
    </message>
    <message>
        <source>45°向上</source>
        <translation>45° up</translation>
    </message>
    <message>
        <source>垂直向上</source>
        <translation>vertically up</translation>
    </message>
    <message>
        <source>强度</source>
        <translation>Strength</translation>
    </message>
    <message>
        <source>合格</source>
        <translation>Pass</translation>
    </message>
    <message>
        <source>不合格</source>
        <translation>Fail</translation>
    </message>
    <message>
        <source>无有效读数</source>
        <translation>No valid reading</translation>
    </message>
</context>
<context>
    <name>ConnectionWatcher</name>
    <message>
        <source>连接OK</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>未连接</source>
        <translation>Not connected</translation>
    </message>
</context>
<context>
    <name>DetailPanel</name>
    <message>
        <source>记录号: </source>
        <translation>Record: </translation>
    </message>
    <message>
        <source>测量材料</source>
        <translation>Material</translation>
    </message>
    <message>
        <source>冲击装置</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>最大值</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>硬度制</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>冲击方向</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>最小值</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>测量日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>冲击次数</source>
        <translation>Impacts</translation>
    </message>
    <message>
        <source>平均值</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>强度</source>
        <translation>Strength</translation>
    </message>
</context>
<context>
    <name>ErrorText</name>
    <message>
        <source>无法读取文件 %1: %2</source>
        <translation>Cannot read the file %1: %2</translation>
    </message>
    <message>
        <source>无法写入文件 %1: %2</source>
        <translation>Cannot write the file %1: %2</translation>
    </message>
    <message>
        <source>文件或文件夹不存在</source>
        <translation>no such file or folder</translation>
    </message>
    <message>
        <source>没有权限</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>磁盘已满</source>
        <translation>the disk is full</translation>
    </message>
    <message>
        <source>只读的文件系统</source>
        <translation>read-only file system</translation>
    </message>
    <message>
        <source>这是一个文件夹</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>路径中有一部分不是文件夹</source>
        <translation>a part of the path is not a folder</translation>
    </message>
    <message>
        <source>文件太大</source>
        <translation>the file is too large</translation>
    </message>
    <message>
        <source>文件名太长</source>
        <translation>the file name is too long</translation>
    </message>
    <message>
        <source>输入/输出错误</source>
        <translation>input/output error</translation>
    </message>
    <message>
        <source>符号链接太多层或成环</source>
        <translation>too many levels of symbolic links, or a loop</translation>
    </message>
    <message>
        <source>超出磁盘配额</source>
        <translation>disk quota exceeded</translation>
    </message>
    <message>
        <source>冲击次数 %1 不能是负数</source>
        <translation>the impact count %1 cannot be negative</translation>
    </message>
    <message>
        <source>冲击次数 %1 不是整数</source>
        <translation>the impact count %1 is not a whole number</translation>
    </message>
    <message>
        <source>设置字 %1 不在 0 到 65535 之间</source>
        <translation>the settings word %1 is not between 0 and 65535</translation>
    </message>
    <message>
        <source>设置字 %1 不是整数</source>
        <translation>the settings word %1 is not a whole number</translation>
    </message>
    <message>
        <source>第 %1 列: 字节 0x%2 不是可打印的 ASCII 字符</source>
        <translation>column %1: byte 0x%2 is not printable ASCII text</translation>
    </message>
    <message>
        <source>第 %1 个读数 %2 不是数值</source>
        <translation>reading %1, %2, is not a number</translation>
    </message>
    <message>
        <source>无法打开文件 %1: %2</source>
        <translation>Cannot open the file %1: %2</translation>
    </message>
    <message>
        <source>%1 是文件夹, 不是文件</source>
        <translation>%1 is a folder, not a file</translation>
    </message>
    <message>
        <source>%1 不是记录文件: 第一行不是 &quot;@Import Data@&quot;</source>
        <translation>%1 is not a record file: its first line is not &quot;@Import Data@&quot;</translation>
    </message>
    <message>
        <source>文件 %1 第 %2 行太长, 不是记录行</source>
        <translation>File %1, line %2 is too long for a record line</translation>
    </message>
    <message>
        <source>文件 %1 第 %2 行 (存储记录%3) 无法转换</source>
        <translation>File %1, line %2 (record %3) cannot be read</translation>
    </message>
    <message>
        <source>无法写入 %1: 它不是普通文件</source>
        <translation>Cannot write %1: it is not a regular file</translation>
    </message>
    <message>
        <source>文件是空的</source>
        <translation>the file is empty</translation>
    </message>
    <message>
        <source>第一行不是记录文件的文件头 &quot;%1&quot;</source>
        <translation>the first line is not the record file header &quot;%1&quot;</translation>
    </message>
    <message>
        <source>空行, 不是记录</source>
        <translation>an empty line, not a record</translation>
    </message>
    <message>
        <source>记录无法转换 (%1)</source>
        <translation>the record cannot be read (%1)</translation>
    </message>
    <message>
        <source>行太长, 不是记录行</source>
        <translation>the line is too long for a record line</translation>
    </message>
    <message>
        <source>无法读取文件 %1
(%2)</source>
        <translation>Cannot read the file %1
(%2)</translation>
    </message>
    <message>
        <source>文件读取错误</source>
        <translation>File read error</translation>
    </message>
    <message>
        <source>文件 %1 第 %2 行: %3</source>
        <translation>File %1, line %2: %3</translation>
    </message>
    <message>
        <source>文句格式不正确!
请重新输入文件名......</source>
        <translation>The file is not a record file!
Please enter another file name.</translation>
    </message>
    <message>
        <source>第 %1 行无法读取</source>
        <translation>Line %1 cannot be read</translation>
    </message>
    <message>
        <source>文件格式错误</source>
        <translation>Wrong file format</translation>
    </message>
</context>
<context>
    <name>LabRow</name>
    <message>
        <source>下限</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>上限</source>
        <translation>High</translation>
    </message>
    <message>
        <source>本硬度制的公差限，留空为不设</source>
        <translation>Tolerance limit for this scale; leave empty for none</translation>
    </message>
    <message>
        <source>剔除无效</source>
        <translation>Skip invalid</translation>
    </message>
    <message>
        <source>最大值、最小值、平均值不计无效读数 (888)</source>
        <translation>Leave invalid readings (888) out of maximum, minimum and mean</translation>
    </message>
    <message>
        <source>逐点判定</source>
        <translation>Each reading</translation>
    </message>
    <message>
        <source>平均值或统计所用的任一读数超出上下限，记录即不合格；不选时只判定平均值</source>
        <translation>A record fails when its mean or any reading the mean is taken over lies outside the limits; unchecked, only the mean is judged</translation>
    </message>
    <message>
        <source>标准偏差 %1  极差 %2</source>
        <translation>SD %1  Range %2</translation>
    </message>
    <message>
        <source>  有效 %1/%2</source>
        <translation>  Valid %1/%2</translation>
    </message>
    <message>
        <source>下限不能大于上限</source>
        <translation>The lower limit cannot be above the upper limit</translation>
    </message>
</context>
<context>
    <name>LimitInputText</name>
    <message>
        <source>限值 %1 不是数值，写作 450 或 %2。(The limit %1 is not a number: write 450 or %2.)</source>
        <translation>The limit %1 is not a number: write 450 or %2.</translation>
    </message>
    <message>
        <source>限值 %1 有歧义：写作 1000 或 %2。(The limit %1 is ambiguous: write 1000 or %2.)</source>
        <translation>The limit %1 is ambiguous: write 1000 or %2.</translation>
    </message>
    <message>
        <source>%1 缺少硬度制，写作 HL:400-460,HRC:44-46。(%1 names no scale: write HL:400-460,HRC:44-46.)</source>
        <translation>%1 names no scale: write HL:400-460,HRC:44-46.</translation>
    </message>
    <message>
        <source>未知的硬度制 %1，可用 HL、HV、HB、HRC、HS、HRB、HRA、strength。(Unknown scale %1: use HL, HV, HB, HRC, HS, HRB, HRA or strength.)</source>
        <translation>Unknown scale %1: use HL, HV, HB, HRC, HS, HRB, HRA or strength.</translation>
    </message>
    <message>
        <source>硬度制 %1 的限值给了两次。(The limits of %1 are given twice.)</source>
        <translation>The limits of %1 are given twice.</translation>
    </message>
    <message>
        <source>%1 不是限值范围，写作 HRC:44-46、HRC:44- 或 HRC:-46。(%1 is not a range: write HRC:44-46, HRC:44- or HRC:-46.)</source>
        <translation>%1 is not a range: write HRC:44-46, HRC:44- or HRC:-46.</translation>
    </message>
    <message>
        <source>%1 没有给出限值，写作 HRC:44-46、HRC:44- 或 HRC:-46。(%1 gives no limit: write HRC:44-46, HRC:44- or HRC:-46.)</source>
        <translation>%1 gives no limit: write HRC:44-46, HRC:44- or HRC:-46.</translation>
    </message>
    <message>
        <source>%1 的下限大于上限。(In %1 the lower limit is above the upper.)</source>
        <translation>In %1 the lower limit is above the upper.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>读入数据</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>打印图表</source>
        <translation>Print chart</translation>
    </message>
    <message>
        <source>打印报表</source>
        <translation>Print report</translation>
    </message>
    <message>
        <source>无权访问硬度计: 请安装 udev 规则 70-leebdesk-tester.rules 后重新插入</source>
        <translation>No access to the tester: install the udev rule 70-leebdesk-tester.rules, then plug it in again</translation>
    </message>
    <message>
        <source>文件名已存在!
你要替换现在文件吗?</source>
        <translation>The file already exists!
Do you want to replace it?</translation>
    </message>
    <message>
        <source>文件名重复</source>
        <translation>File exists</translation>
    </message>
    <message>
        <source>文句名不存在!
请重新输入文件名</source>
        <translation>The file does not exist!
Please enter the file name again.</translation>
    </message>
    <message>
        <source>文件不存在</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>里氏硬度计</source>
        <translation>Leeb Hardness Tester</translation>
    </message>
    <message>
        <source>没有可保存的记录。</source>
        <translation>There are no records to save.</translation>
    </message>
    <message>
        <source>读入的记录还没有保存。
要先保存吗?</source>
        <translation>The records read in have not been saved.
Save them first?</translation>
    </message>
    <message>
        <source>记录未保存</source>
        <translation>Records not saved</translation>
    </message>
    <message>
        <source>不保存</source>
        <translation>Don&apos;t save</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>无权访问硬度计: 请关闭其他正在使用硬度计的程序后重新插入</source>
        <translation>No access to the tester: close any other program using it, then plug it in again</translation>
    </message>
    <message>
        <source>最近打开的文件</source>
        <translation>Recent files</translation>
    </message>
    <message>
        <source>(无)</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>已读入 %1 条记录</source>
        <translation>%1 records read</translation>
    </message>
    <message>
        <source>已保存 %1</source>
        <translation>Saved %1</translation>
    </message>
    <message>
        <source>已打开 %1 (%2 条记录)</source>
        <translation>Opened %1 (%2 records)</translation>
    </message>
    <message>
        <source>右键单击: 最近打开的文件</source>
        <translation>Right-click: recent files</translation>
    </message>
    <message>
        <source>图表已送往打印机 %1</source>
        <translation>Chart sent to the printer %1</translation>
    </message>
    <message>
        <source>校验读取</source>
        <translation>Verified read</translation>
    </message>
    <message>
        <source>每条记录读两次并比较，读入约需两倍时间</source>
        <translation>Reads every record twice and compares; the upload takes about twice as long</translation>
    </message>
    <message>
        <source>没有可用的打印机: 请先在系统中添加一台打印机。
也可以把图表另存为 PDF 文件。</source>
        <translation>No printer is available: add a printer to the system first.
You can save the chart as a PDF file instead.</translation>
    </message>
    <message>
        <source>另存为 PDF...</source>
        <translation>Save as PDF...</translation>
    </message>
    <message>
        <source>PDF 文件 (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>%1: 先填写报表信息</source>
        <translation>%1: report details first</translation>
    </message>
    <message>
        <source>未连接硬度计</source>
        <translation>No tester connected</translation>
    </message>
    <message>
        <source>已从档案打开 %1 条记录</source>
        <translation>Opened %1 records from the archive</translation>
    </message>
    <message>
        <source>正在读入数据, 档案记录稍后再打开</source>
        <translation>Reading from the tester: open the archived records afterwards</translation>
    </message>
    <message>
        <source>导出 CSV…</source>
        <translation>Export CSV…</translation>
    </message>
</context>
<context>
    <name>OutputOptionsDialog</name>
    <message>
        <source>打印机(&amp;P)</source>
        <translation>&amp;Printer</translation>
    </message>
    <message>
        <source>预览(&amp;V)</source>
        <translation>Pre&amp;view</translation>
    </message>
    <message>
        <source>文件 (PDF)(&amp;F)</source>
        <translation>&amp;File (PDF)</translation>
    </message>
    <message>
        <source>设置(&amp;S)...</source>
        <translation>&amp;Setup...</translation>
    </message>
    <message>
        <source>逐份打印(&amp;O)</source>
        <translation>C&amp;ollate</translation>
    </message>
    <message>
        <source>全部(&amp;A)</source>
        <translation>&amp;All pages</translation>
    </message>
    <message>
        <source>页码(&amp;G)</source>
        <translation>Pa&amp;ges</translation>
    </message>
    <message>
        <source>浏览(&amp;B)...</source>
        <translation>&amp;Browse...</translation>
    </message>
    <message>
        <source>输出到</source>
        <translation>Destination</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>长边翻转</source>
        <translation>Long side</translation>
    </message>
    <message>
        <source>短边翻转</source>
        <translation>Short side</translation>
    </message>
    <message>
        <source>打印机</source>
        <translation>Printer</translation>
    </message>
    <message>
        <source>名称:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>份数:</source>
        <translation>Copies:</translation>
    </message>
    <message>
        <source>双面打印:</source>
        <translation>Duplex:</translation>
    </message>
    <message>
        <source>页面范围</source>
        <translation>Page range</translation>
    </message>
    <message>
        <source>到</source>
        <translation>to</translation>
    </message>
    <message>
        <source>报表另存为</source>
        <translation>Save report as</translation>
    </message>
    <message>
        <source>PDF 文件 (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>报表信息(&amp;D)...</source>
        <translation>Report &amp;details...</translation>
    </message>
</context>
<context>
    <name>ProtocolErrorText</name>
    <message>
        <source>记录数应答</source>
        <translation>the record count reply</translation>
    </message>
    <message>
        <source>存储记录%1的第%2段应答</source>
        <translation>reply %2 of record %1</translation>
    </message>
    <message>
        <source>等待%1时收到了未请求的数据</source>
        <translation>data that was not asked for arrived while waiting for %1</translation>
    </message>
    <message>
        <source>%1长度错误：收到 %2 字节，应为 %3 字节</source>
        <translation>%1 has the wrong length: %2 bytes received, %3 expected</translation>
    </message>
    <message>
        <source>%1不是记录数（首字节 %2）</source>
        <translation>%1 is not a record count (first byte %2)</translation>
    </message>
    <message>
        <source>数据错误</source>
        <translation>Data error</translation>
    </message>
    <message>
        <source>硬度计发来的数据有误：%1。
上传已停止，之前读入的 %2 条记录已保留。</source>
        <translation>The tester sent wrong data: %1.
The upload has stopped; the %2 records read before are kept.</translation>
    </message>
    <message>
        <source>存储记录%1读了 %2 次，没有两次相同</source>
        <translation>record %1 was read %2 times and no two reads agreed</translation>
    </message>
</context>
<context>
    <name>RecordCsv</name>
    <message>
        <source>记录号</source>
        <translation>Record no.</translation>
    </message>
    <message>
        <source>测量日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>测量材料</source>
        <translation>Material</translation>
    </message>
    <message>
        <source>硬度制/强度</source>
        <translation>Scale/strength</translation>
    </message>
    <message>
        <source>冲击装置</source>
        <translation>Impact device</translation>
    </message>
    <message>
        <source>冲击方向</source>
        <translation>Impact direction</translation>
    </message>
    <message>
        <source>冲击次数</source>
        <translation>Impacts</translation>
    </message>
    <message>
        <source>读数%1</source>
        <translation>Reading %1</translation>
    </message>
    <message>
        <source>最大值</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>最小值</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>平均值</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>标准偏差</source>
        <translation>Std. deviation</translation>
    </message>
    <message>
        <source>极差</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>无效读数</source>
        <translation>Invalid readings</translation>
    </message>
    <message>
        <source>有效读数数</source>
        <translation>Valid readings</translation>
    </message>
    <message>
        <source>有效最大值</source>
        <translation>Valid maximum</translation>
    </message>
    <message>
        <source>有效最小值</source>
        <translation>Valid minimum</translation>
    </message>
    <message>
        <source>有效平均值</source>
        <translation>Valid mean</translation>
    </message>
    <message>
        <source>有效标准偏差</source>
        <translation>Valid std. deviation</translation>
    </message>
    <message>
        <source>有效极差</source>
        <translation>Valid range</translation>
    </message>
    <message>
        <source>下限</source>
        <translation>Lower limit</translation>
    </message>
    <message>
        <source>上限</source>
        <translation>Upper limit</translation>
    </message>
    <message>
        <source>判定</source>
        <translation>Verdict</translation>
    </message>
</context>
<context>
    <name>RecordSelectionText</name>
    <message>
        <source>没有选择任何记录。(No record chosen; write numbers and ranges like 1-5,9.)</source>
        <translation>No record chosen; write numbers and ranges like 1-5,9.</translation>
    </message>
    <message>
        <source>记录选择 %1 不是记录号或范围。(%1 is not a record number or a range like 1-5.)</source>
        <translation>%1 is not a record number or a range like 1-5.</translation>
    </message>
    <message>
        <source>记录号从 1 开始。(Record numbers start at 1: %1.)</source>
        <translation>Record numbers start at 1: %1.</translation>
    </message>
    <message>
        <source>范围 %1 的起点大于终点。(The range %1 runs backwards.)</source>
        <translation>The range %1 runs backwards.</translation>
    </message>
    <message>
        <source>记录选择 %1 超出最后一条记录 %2。(%1 goes past the last record, %2.)</source>
        <translation>%1 goes past the last record, %2.</translation>
    </message>
</context>
<context>
    <name>RecordTreeModel</name>
    <message>
        <source>存储记录</source>
        <translation>Record </translation>
    </message>
    <message>
        <source>冲击无效 (888)</source>
        <translation>Failed impact (888)</translation>
    </message>
    <message>
        <source>高于上限</source>
        <translation>above the upper limit</translation>
    </message>
    <message>
        <source>低于下限</source>
        <translation>below the lower limit</translation>
    </message>
    <message>
        <source> (已损坏)</source>
        <translation> (damaged)</translation>
    </message>
    <message>
        <source>已损坏: 冲击次数 %1</source>
        <translation>Damaged: impact count %1</translation>
    </message>
</context>
<context>
    <name>RecordUpload</name>
    <message>
        <source>Write to USB Derive Error</source>
        <translation>Writing to the USB device failed.</translation>
    </message>
    <message>
        <source>USB Error</source>
        <translation>USB Error</translation>
    </message>
    <message>
        <source>里氏硬度计无应答</source>
        <translation>The hardness tester does not answer.</translation>
    </message>
    <message>
        <source>里氏硬度计中没有数据</source>
        <translation>The hardness tester holds no records.</translation>
    </message>
    <message>
        <source>无存储记录</source>
        <translation>No records</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>存储记录%1无法写成记录行，已略过</source>
        <translation>Record %1 cannot be written as a record line and was left out</translation>
    </message>
    <message>
        <source>记录 %1 已损坏: 冲击次数 %2</source>
        <translation>Record %1 is damaged: impact count %2</translation>
    </message>
    <message>
        <source>记录已损坏</source>
        <translation>Damaged records</translation>
    </message>
</context>
<context>
    <name>ReportDetailsDialog</name>
    <message>
        <source>报表信息</source>
        <translation>Report details</translation>
    </message>
    <message>
        <source>单位名称</source>
        <translation>Company</translation>
    </message>
    <message>
        <source>报告编号</source>
        <translation>Report No.</translation>
    </message>
    <message>
        <source>工件/试样</source>
        <translation>Part / sample</translation>
    </message>
    <message>
        <source>批号/炉号</source>
        <translation>Lot / heat</translation>
    </message>
    <message>
        <source>检验人员</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>仪器型号/编号</source>
        <translation>Instrument (model / serial)</translation>
    </message>
    <message>
        <source>检测标准</source>
        <translation>Test standard</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Remarks</translation>
    </message>
    <message>
        <source>打印签字栏 (检验 / 审核)</source>
        <translation>Print signature lines (tested / approved)</translation>
    </message>
    <message>
        <source>全部记录，或如 1-5,9</source>
        <translation>All records, or e.g. 1-5,9</translation>
    </message>
    <message>
        <source>打印记录</source>
        <translation>Records to print</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>跳过</source>
        <translation>Skip</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ReportGenerator</name>
    <message>
        <source>硬度/强度测试报表</source>
        <translation>Hardness / Strength Test Report</translation>
    </message>
    <message>
        <source>(续)</source>
        <translation>(cont.)</translation>
    </message>
    <message>
        <source>测试材料: </source>
        <translation>Material: </translation>
    </message>
    <message>
        <source>硬度制: </source>
        <translation>Scale:  </translation>
    </message>
    <message>
        <source>强度:   </source>
        <translation>Strength</translation>
    </message>
    <message>
        <source>测试日期:</source>
        <translation>Date:    </translation>
    </message>
    <message>
        <source>冲击装置: </source>
        <translation>Device:   </translation>
    </message>
    <message>
        <source>冲击方向</source>
        <translation>Angle:  </translation>
    </message>
    <message>
        <source>冲击次数: </source>
        <translation>Impacts:  </translation>
    </message>
    <message>
        <source>最大值:  </source>
        <translation>Max:     </translation>
    </message>
    <message>
        <source>最小值:  </source>
        <translation>Min:     </translation>
    </message>
    <message>
        <source>平均值: </source>
        <translation>Mean:   </translation>
    </message>
    <message>
        <source>单位名称: </source>
        <translation>Company: </translation>
    </message>
    <message>
        <source>报告编号: </source>
        <translation>Rep. no.: </translation>
    </message>
    <message>
        <source>工件/试样: </source>
        <translation>Workpiece: </translation>
    </message>
    <message>
        <source>批号/炉号: </source>
        <translation>Lot/heat: </translation>
    </message>
    <message>
        <source>检验人员: </source>
        <translation>Operator: </translation>
    </message>
    <message>
        <source>仪器型号/编号: </source>
        <translation>Instrument: </translation>
    </message>
    <message>
        <source>检测标准: </source>
        <translation>Standard: </translation>
    </message>
    <message>
        <source>备注: </source>
        <translation>Note: </translation>
    </message>
    <message>
        <source>读数标记: * 冲击无效(888)   ↑ 高于上限   ↓ 低于下限</source>
        <translation>Marks: * failed  ↑ above upper  ↓ below lower</translation>
    </message>
    <message>
        <source>   统计不含无效读数</source>
        <translation>   stats without invalid</translation>
    </message>
    <message>
        <source>标准差:  </source>
        <translation>Std dev:</translation>
    </message>
    <message>
        <source>极差:    </source>
        <translation>Range:</translation>
    </message>
    <message>
        <source>有效数: </source>
        <translation>Valid:</translation>
    </message>
    <message>
        <source>下限:    </source>
        <translation>Lower:</translation>
    </message>
    <message>
        <source>上限:    </source>
        <translation>Upper:</translation>
    </message>
    <message>
        <source>判定:   </source>
        <translation>Result: </translation>
    </message>
    <message>
        <source>检验: ________________        审核: ________________        日期: ____________</source>
        <translation>Tester: ______________        Checker: _____________        Date: ____________</translation>
    </message>
    <message>
        <source>   逐点判定</source>
        <translation>   each reading judged</translation>
    </message>
</context>
<context>
    <name>ReportLabels</name>
    <message>
        <source>第  %1  页</source>
        <translation>Page %1</translation>
    </message>
    <message>
        <source>日期:   </source>
        <translation>Date:   </translation>
    </message>
    <message>
        <source> / 共  %1  页</source>
        <translation> of %1</translation>
    </message>
</context>
<context>
    <name>ReportPdf</name>
    <message>
        <source>无法把报表写入 &quot;%1&quot;: %2。</source>
        <translation>The report cannot be written to &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>PDF 无法开始</source>
        <translation>the PDF could not be started</translation>
    </message>
    <message>
        <source>PDF 无法完成</source>
        <translation>the PDF could not be finished</translation>
    </message>
    <message>
        <source>它不是普通文件</source>
        <translation>it is not a regular file</translation>
    </message>
</context>
<context>
    <name>ReportStatusWindow</name>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ReportSystem</name>
    <message>
        <source>无法启动打印机。</source>
        <translation>The printer could not be started.</translation>
    </message>
    <message>
        <source>报表未能打印完。</source>
        <translation>The report could not be printed.</translation>
    </message>
    <message>
        <source>报表预览不可用。</source>
        <translation>The report preview is not available.</translation>
    </message>
</context>
<context>
    <name>StartOptions</name>
    <message>
        <source>无法读取模拟硬度计的记录。(%1)</source>
        <translation>The simulated tester&apos;s records cannot be read. (%1)</translation>
    </message>
</context>
<context>
    <name>TrendCharts</name>
    <message>
        <source>直方图</source>
        <translation>Histogram</translation>
    </message>
    <message>
        <source>单值图</source>
        <translation>Individuals chart</translation>
    </message>
    <message>
        <source>移动极差图</source>
        <translation>Moving-range chart</translation>
    </message>
</context>
<context>
    <name>TrendPage</name>
    <message>
        <source>趋势与过程能力</source>
        <translation>Trend and process capability</translation>
    </message>
    <message>
        <source>打印日期: %1</source>
        <translation>Printed: %1</translation>
    </message>
    <message>
        <source>全部记录</source>
        <translation>all records</translation>
    </message>
    <message>
        <source>筛选条件: %1</source>
        <translation>Filters: %1</translation>
    </message>
    <message>
        <source>无失控信号。</source>
        <translation>No out-of-control signals.</translation>
    </message>
    <message>
        <source>无法把趋势图写入 &quot;%1&quot;: %2。</source>
        <translation>Cannot write the trend to &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>它不是普通文件</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>PDF 无法开始</source>
        <translation>the PDF could not be started</translation>
    </message>
    <message>
        <source>PDF 无法完成</source>
        <translation>the PDF could not be finished</translation>
    </message>
    <message>
        <source>无法启动打印机。</source>
        <translation>The printer could not be started.</translation>
    </message>
    <message>
        <source>趋势图未能打印完。</source>
        <translation>The trend was not printed completely.</translation>
    </message>
</context>
<context>
    <name>TrendText</name>
    <message>
        <source>记录 %1 (%2)</source>
        <translation>record %1 (%2)</translation>
    </message>
    <message>
        <source>另 %1 个</source>
        <translation>%1 more</translation>
    </message>
    <message>
        <source>所选记录的硬度制、材料或冲击装置不同, 不能画在一张趋势图上; 其中有: %1。</source>
        <translation>The chosen records differ in scale, material or impact device and cannot share one trend; they hold: %1.</translation>
    </message>
    <message>
        <source>趋势图至少需要 2 个点, 所选记录只有 %1 个。</source>
        <translation>A trend needs at least 2 points; the chosen records give %1.</translation>
    </message>
    <message>
        <source>点数少于 25: 能力指数只是粗略估计。</source>
        <translation>Fewer than 25 points: the capability indices are rough estimates.</translation>
    </message>
    <message>
        <source>%1 条记录没有可取平均的读数, 未画入。</source>
        <translation>%1 records have no reading to average and are not charted.</translation>
    </message>
    <message>
        <source>点数 n</source>
        <translation>n</translation>
    </message>
    <message>
        <source>均值 x̄</source>
        <translation>Mean x̄</translation>
    </message>
    <message>
        <source>组内 σ</source>
        <translation>σ within</translation>
    </message>
    <message>
        <source>整体 σ</source>
        <translation>σ overall</translation>
    </message>
    <message>
        <source>规则 1, 超出控制限: %1</source>
        <translation>Rule 1, beyond a control limit: %1</translation>
    </message>
    <message>
        <source>规则 2, 连续 9 点在中心线同侧: %1</source>
        <translation>Rule 2, 9 points in a row on one side of the centre line: %1</translation>
    </message>
    <message>
        <source>档案记录 #%1 (%2)</source>
        <translation>archive record #%1 (%2)</translation>
    </message>
</context>
<context>
    <name>TrendWindow</name>
    <message>
        <source>打印…</source>
        <translation>Print…</translation>
    </message>
    <message>
        <source>保存 PDF…</source>
        <translation>Save PDF…</translation>
    </message>
    <message>
        <source>筛选条件: %1</source>
        <translation>Filters: %1</translation>
    </message>
    <message>
        <source>无 (档案中全部记录)</source>
        <translation>none (every record in the archive)</translation>
    </message>
    <message>
        <source>趋势与过程能力 - %1</source>
        <translation>Trend and process capability - %1</translation>
    </message>
    <message>
        <source>趋势与过程能力</source>
        <translation>Trend and process capability</translation>
    </message>
    <message>
        <source>没有可用的打印机: 请先在系统中添加一台打印机。
也可以把趋势图另存为 PDF 文件。</source>
        <translation>No printer is available: add a printer to the system first.
You can also save the trend as a PDF file.</translation>
    </message>
    <message>
        <source>打印趋势图</source>
        <translation>Print trend</translation>
    </message>
    <message>
        <source>另存为 PDF...</source>
        <translation>Save as PDF...</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>已保存 %1</source>
        <translation>Saved %1</translation>
    </message>
    <message>
        <source>趋势图已送往打印机 %1</source>
        <translation>Trend sent to printer %1</translation>
    </message>
    <message>
        <source>PDF 文件 (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>文件名已存在!
你要替换现在文件吗?</source>
        <translation>The file already exists!
Do you want to replace it?</translation>
    </message>
    <message>
        <source>文件名重复</source>
        <translation>File exists</translation>
    </message>
    <message>
        <source>保存 PDF</source>
        <translation>Save PDF</translation>
    </message>
</context>
</TS>
