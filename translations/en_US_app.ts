<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>FileErrorText</name>
    <message>
        <source>文件或文件夹不存在</source>
        <translation>The file or folder does not exist</translation>
    </message>
    <message>
        <source>没有访问权限</source>
        <translation>Permission denied</translation>
    </message>
    <message>
        <source>磁盘已满</source>
        <translation>The disk is full</translation>
    </message>
    <message>
        <source>这是一个文件夹，不是文件</source>
        <translation>It is a folder, not a file</translation>
    </message>
    <message>
        <source>文件系统是只读的</source>
        <translation>The file system is read-only</translation>
    </message>
    <message>
        <source>文件超出了允许的大小</source>
        <translation>The file is larger than the system allows</translation>
    </message>
</context>
<context>
    <name>AddressAddDialog</name>
    <message>
        <source>提醒</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>地址标签不能为空！</source>
        <translation>The address tag name cannot be empty!</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>新建地址标签</source>
        <translation>New Address Tag</translation>
    </message>
    <message>
        <source>编辑地址标签</source>
        <translation>Edit Address Tag</translation>
    </message>
    <message>
        <source>标签名称</source>
        <translation>Tag name</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Mark</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>AddressEditForm</name>
    <message>
        <source>范围：%1H~%2H</source>
        <translation>Range: %1H~%2H</translation>
    </message>
    <message>
        <source>范围：%1~%2</source>
        <translation>Range: %1~%2</translation>
    </message>
    <message>
        <source>连接设备</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>数据类型</source>
        <translation>Data type</translation>
    </message>
    <message>
        <source>地址类型</source>
        <translation>Area</translation>
    </message>
    <message>
        <source>数据长度</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>地址</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>位</source>
        <translation>Bit</translation>
    </message>
</context>
<context>
    <name>AddressLibDialog</name>
    <message>
        <source>地址标签库</source>
        <translation>Address Library</translation>
    </message>
    <message>
        <source>变量_%1</source>
        <translation>Var_%1</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>地址标签库命名与第%1行重复！</source>
        <translation>The name is already used by row %1!</translation>
    </message>
    <message>
        <source>用户自定义标签</source>
        <translation>User tags</translation>
    </message>
    <message>
        <source>系统寄存器</source>
        <translation>System registers</translation>
    </message>
    <message>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>增加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>删除全部</source>
        <translation>Remove all</translation>
    </message>
    <message>
        <source>上移</source>
        <translation>Move up</translation>
    </message>
    <message>
        <source>下移</source>
        <translation>Move down</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>表格文件(*.csv;*.txt);;All files(*.*)</source>
        <translation>Table files(*.csv;*.txt);;All files(*.*)</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>另存为 (*.csv;*.txt)</source>
        <translation>Save as (*.csv;*.txt)</translation>
    </message>
    <message>
        <source>导入Excel</source>
        <translation>Import Excel</translation>
    </message>
    <message>
        <source>表格文件(*.xls;*.xlsx);;All files(*.*)</source>
        <translation>Table files(*.xls;*.xlsx);;All files(*.*)</translation>
    </message>
    <message>
        <source>导出Excel</source>
        <translation>Export Excel</translation>
    </message>
    <message>
        <source>另存为 (*.xlsx)</source>
        <translation>Save as (*.xlsx)</translation>
    </message>
    <message>
        <source>地址标签库保存成功。</source>
        <translation>The address tag library was saved.</translation>
    </message>
    <message>
        <source>导入地址库</source>
        <translation>Import Tags</translation>
    </message>
    <message>
        <source>导出地址库</source>
        <translation>Export Tags</translation>
    </message>
    <message>
        <source>从EXCEL导入</source>
        <translation>Import from Excel</translation>
    </message>
    <message>
        <source>导出到EXCEL</source>
        <translation>Export to Excel</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message numerus="yes">
        <source>%n 个对象使用了标签“%1”，仍要删除吗？</source>
        <translation>
            <numerusform>%n shape uses the tag "%1". Remove it anyway?</numerusform>
            <numerusform>%n shapes use the tag "%1". Remove it anyway?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 个对象使用了要删除的 %1 个标签，仍要删除吗？</source>
        <translation>
            <numerusform>%n shape uses the %1 tags to be removed. Remove them anyway?</numerusform>
            <numerusform>%n shapes use the %1 tags to be removed. Remove them anyway?</numerusform>
        </translation>
    </message>
    <message>
        <source>查找引用</source>
        <translation>Where used</translation>
    </message>
    <message>
        <source>标签库有尚未确定的修改。确定这些修改并列出引用吗？</source>
        <translation>The library has changes not yet confirmed. Confirm them and list where the tag is used?</translation>
    </message>
</context>
<context>
    <name>AddressTextFile</name>
    <message>
        <source>名称,地址,类型,设备,数据格式,备注</source>
        <translation>Name,Address,Type,Device,Data format,Remark</translation>
    </message>
    <message>
        <source>第%1行含有GBK编码无法表示的文字，无法写入文本文件。</source>
        <translation>Row %1 holds text that GBK cannot encode and cannot be written to a text file.</translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>微软雅黑</source>
        <translation>Sans Serif</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>检测到软件上次异常崩溃，是否打开之前工程文件？
%1</source>
        <translation>The program terminated abnormally last time. Do you want to open the previous project file?
%1</translation>
    </message>
    <message>
        <source>选择“否”将保留该恢复文件，下次启动时再次询问。</source>
        <translation>Choosing “No” keeps the recovery file and asks again at the next start.</translation>
    </message>
    <message>
        <source>是(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>否(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
</context>
<context>
    <name>AutoSaver</name>
    <message>
        <source>自动保存失败：%1</source>
        <translation>Autosave failed: %1</translation>
    </message>
    <message>
        <source>已自动保存到 %1</source>
        <translation>Autosaved to %1</translation>
    </message>
</context>
<context>
    <name>Binding</name>
    <message>
        <source>数值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>文字状态</source>
        <translation>Text state</translation>
    </message>
    <message>
        <source>可见</source>
        <translation>Visibility</translation>
    </message>
    <message>
        <source>颜色</source>
        <translation>Colours</translation>
    </message>
    <message>
        <source>动作</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>图片</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>(无)</source>
        <translation>(none)</translation>
    </message>
</context>
<context>
    <name>CheckCommand</name>
    <message>
        <source>缺少项目文件</source>
        <translation>Missing project file</translation>
    </message>
    <message>
        <source>多余的参数：%1</source>
        <translation>Unexpected argument: %1</translation>
    </message>
</context>
<context>
    <name>CliHelp</name>
    <message>
        <source>显示此帮助。</source>
        <translation>Displays this help.</translation>
    </message>
    <message>
        <source>以 JSON 输出项目摘要</source>
        <translation>print a JSON summary of the project</translation>
    </message>
    <message>
        <source>每个画面输出一个 PNG 文件（画面名.png）</source>
        <translation>write one PNG file per screen (SCREEN.png)</translation>
    </message>
    <message>
        <source>以明文或加密形式另存项目（默认保持原形式）</source>
        <translation>save the project plain or encoded (by default in its own form)</translation>
    </message>
    <message>
        <source>检查项目：每个错误或警告一行，有错误时退出码为 2</source>
        <translation>check the project: one line per error or warning, exit code 2 on errors</translation>
    </message>
    <message>
        <source>导出地址标签库或文本标签库（.xlsx、.csv 或 .txt）</source>
        <translation>export the address or the text tag library (.xlsx, .csv or .txt)</translation>
    </message>
    <message>
        <source>用标签文件（.xlsx、.xls、.csv 或 .txt）替换标签库，并把项目另存为新文件（.mvprg）</source>
        <translation>replace the tag library with TAGFILE (.xlsx, .xls, .csv or .txt) and save the project as OUT (.mvprg)</translation>
    </message>
    <message>
        <source>导入、导出项目的标签库，列出标签的使用之处。</source>
        <translation>Imports and exports the tag libraries of a project, and lists where its tags are used.</translation>
    </message>
    <message>
        <source>%1 或 %2</source>
        <translation>%1 or %2</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>从标准输入读取项目密码（一行）；推荐的方式。</source>
        <translation>Reads the project password, one line, from standard input; the preferred way.</translation>
    </message>
    <message>
        <source>项目密码。其他用户能在进程列表中看到它，请改用 --password-stdin 或 MAROVIN_PASSWORD。</source>
        <translation>The project password. Other users can see it in the process list; use --password-stdin or MAROVIN_PASSWORD instead.</translation>
    </message>
    <message>
        <source>受密码保护的项目：密码最好用 --password-stdin 从标准输入给出，其次用
环境变量 MAROVIN_PASSWORD；--password 会让其他用户在进程列表中看到
密码，只作最后的选择。两个选项不能同时使用；给出其一时不看环境变量。</source>
        <translation>Password-protected projects: give the password on standard input with
--password-stdin (preferred), or else in the environment variable
MAROVIN_PASSWORD; --password shows it to other users in the process list, so
use it last. The two options cannot be used together; either one overrides
the environment variable.</translation>
    </message>
    <message>
        <source>项目密码和宏密码只是编辑器的锁，不是文件的锁：文件按原样存放密码，
“加密”形式只是任何人都能还原的编码。二者都不能阻止他人读取项目文件。</source>
        <translation>The project and macro passwords are a lock of the editor, not of the file: the
file stores them as typed, and the &quot;encrypted&quot; form is an encoding anyone can
undo. Neither keeps anyone from reading a project file.</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>password</translation>
    </message>
    <message>
        <source>画面图片的输出文件夹。</source>
        <translation>The folder the screen pictures go to.</translation>
    </message>
    <message>
        <source>文件夹</source>
        <translation>folder</translation>
    </message>
    <message>
        <source>只绘制此画面。</source>
        <translation>Render only this screen.</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>name</translation>
    </message>
    <message>
        <source>另存的项目文件。</source>
        <translation>The project file to write.</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>file</translation>
    </message>
    <message>
        <source>以加密形式保存。</source>
        <translation>Save in the encoded form.</translation>
    </message>
    <message>
        <source>以明文形式保存。</source>
        <translation>Save in the plain form.</translation>
    </message>
    <message>
        <source>以 JSON 数组输出检查结果。</source>
        <translation>Print the findings as a JSON array.</translation>
    </message>
    <message>
        <source>地址标签库。</source>
        <translation>The address tag library.</translation>
    </message>
    <message>
        <source>文本标签库。</source>
        <translation>The text tag library.</translation>
    </message>
    <message>
        <source>导出的标签文件（export）或另存的项目（import）。</source>
        <translation>The tag file to write (export) or the project to save (import).</translation>
    </message>
    <message>
        <source>%1 命令 [选项]</source>
        <translation>%1 COMMAND [OPTIONS]</translation>
    </message>
    <message>
        <source>显示一个命令的用法和选项</source>
        <translation>show the usage and the options of one command</translation>
    </message>
    <message>
        <source>命令：</source>
        <translation>Commands:</translation>
    </message>
    <message>
        <source>显示版本信息。</source>
        <translation>Displays version information.</translation>
    </message>
    <message>
        <source>用“%1 help 命令”查看一个命令的全部选项。</source>
        <translation>Run &quot;%1 help COMMAND&quot; for all options of one command.</translation>
    </message>
    <message>
        <source>%1 %2 [选项]</source>
        <translation>%1 %2 [OPTIONS]</translation>
    </message>
    <message>
        <source>未知命令：%1</source>
        <translation>Unknown command: %1</translation>
    </message>
    <message>
        <source>多余的参数：%1</source>
        <translation>Unexpected argument: %1</translation>
    </message>
    <message>
        <source>info 文件</source>
        <translation>info FILE</translation>
    </message>
    <message>
        <source>render 文件 -o 文件夹</source>
        <translation>render FILE -o DIR</translation>
    </message>
    <message>
        <source>convert 文件 -o 新文件</source>
        <translation>convert FILE -o OUT</translation>
    </message>
    <message>
        <source>check 文件</source>
        <translation>check FILE</translation>
    </message>
    <message>
        <source>tags export 文件 (--address | --text) -o 标签文件</source>
        <translation>tags export FILE (--address | --text) -o TAGFILE</translation>
    </message>
    <message>
        <source>tags import 文件 标签文件 (--address | --text) -o 新文件</source>
        <translation>tags import FILE TAGFILE (--address | --text) -o OUT</translation>
    </message>
    <message>
        <source>help 命令</source>
        <translation>help COMMAND</translation>
    </message>
    <message>
        <source>tags usage 文件</source>
        <translation>tags usage FILE</translation>
    </message>
    <message>
        <source>列出每个标签被哪些对象使用，以及没有对象使用的标签</source>
        <translation>list the shapes that use each tag, and the tags no shape uses</translation>
    </message>
    <message>
        <source>以 JSON 输出（usage）。</source>
        <translation>Print JSON (usage).</translation>
    </message>
    <message>
        <source>simulate 文件 场景文件</source>
        <translation>simulate FILE SCENARIO</translation>
    </message>
    <message>
        <source>按场景文件模拟运行项目并检查结果</source>
        <translation>run the project on a simulated panel as a scenario file says</translation>
    </message>
    <message>
        <source>先把值写入标签或地址（可重复），如 &quot;LW 100=42&quot;。</source>
        <translation>First write a value to a tag or address (repeatable), e.g. &quot;LW 100=42&quot;.</translation>
    </message>
    <message>
        <source>目标=值</source>
        <translation>target=value</translation>
    </message>
    <message>
        <source>文本使用的项目语言，从 0 数起。</source>
        <translation>The project language of the texts, counted from 0.</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>number</translation>
    </message>
    <message>
        <source>snapshot 图片的输出文件夹。</source>
        <translation>The folder snapshot pictures are written to.</translation>
    </message>
    <message>
        <source>以 JSON 输出结果。</source>
        <translation>Print the result as JSON.</translation>
    </message>
    <message>
        <source>查看、绘制、检查、转换和模拟运行项目文件，导入和导出标签库。</source>
        <translation>Looks into, renders, checks, converts and simulates project files; imports and exports tag libraries.</translation>
    </message>
    <message>
        <source>每个画面输出一个 PNG 文件，以画面名为文件名：路径分隔符、控制字符
和开头的点都换成 _，空名为 screen；过长的名称截短，使文件名连同 .png
不超过 255 字节（UTF-8）；同名的图片依次加 -2、-3……
某个画面无法输出时，其余画面照样输出，错误写到标准错误，退出码为 1。
给出 --set 或 --lang 时，画面按运行中的面板绘制：绑定显示设定的值，
文本用所选的语言，图片为面板大小；窗口画面打开在第一个基本画面之上，
模板画面不输出。</source>
        <translation>Writes one PNG file per screen, named after the screen: path separators, control
characters and leading dots become _, an empty name becomes screen; a long name
is cut so that the file name with .png takes at most 255 bytes (UTF-8); pictures
that would share a name get -2, -3, ... in turn. A screen that cannot be drawn or
written is named on standard error, the other screens are still written, and the
exit code is 1.
With --set or --lang the screens are drawn as the running panel shows them:
bindings show the values set, texts are in the language chosen, and each picture
is the panel&apos;s size; window screens open over the first base screen, template
screens are left out.</translation>
    </message>
    <message>
        <source>在模拟的面板上运行项目，按场景文件逐行操作并检查结果。场景文件是逗号
分隔的表格，标题行为 time,action,target,value：time 是从开始算起的
秒数（可带小数，不能倒退），action 是 set、press、release、click、
wait、expect、expect-screen 或 snapshot，target 是标签、地址
（LW 100、LW 100(Float)、设备名:地址）、图形名称或画面名称，value 是
要写的值、期望的值（标签和地址比较数值，图形比较显示的文本）或
snapshot 的图片文件名（默认 snapshot-行号.png，写到 -o 文件夹）。
面板的时钟从 2000-01-01 00:00 开始按场景的时间走。
全部期望成立时退出码为 0；某一行失败时在标准输出写出行号、期望值和
实际值，退出码为 2；项目或场景无法读取时退出码为 1。</source>
        <translation>Runs the project on a simulated panel and carries out a scenario file row by
row, checking the results. The scenario is a comma file with the header row
time,action,target,value: time is seconds from the start (decimals allowed,
never going back); action is set, press, release, click, wait, expect,
expect-screen or snapshot; target is a tag, an address (LW 100,
LW 100(Float), DEVICE:ADDRESS), a shape&apos;s name or a screen&apos;s name; value is
what to write, what to expect (tags and addresses compare values, shapes the
text they show) or the picture file of snapshot (snapshot-LINE.png unless
given, written into the -o folder). The panel&apos;s clock starts at 2000-01-01
00:00 and runs with the scenario&apos;s time.
The exit code is 0 when every expectation holds; 2 when a row fails, whose
line, expected and actual value are printed on standard output; 1 when the
project or the scenario cannot be read.</translation>
    </message>
</context>
<context>
    <name>CliTool</name>
    <message>
        <source>缺少项目文件</source>
        <translation>Missing project file</translation>
    </message>
    <message>
        <source>多余的参数：%1</source>
        <translation>Unexpected argument: %1</translation>
    </message>
    <message>
        <source>%1 需要 -o</source>
        <translation>%1 needs -o</translation>
    </message>
    <message>
        <source>%1 不接受 -o</source>
        <translation>%1 does not take -o</translation>
    </message>
    <message>
        <source>--screen 只用于 render</source>
        <translation>--screen is only for render</translation>
    </message>
    <message>
        <source>--encrypt 和 --plain 只用于 convert</source>
        <translation>--encrypt and --plain are only for convert</translation>
    </message>
    <message>
        <source>--encrypt 和 --plain 不能同时使用</source>
        <translation>--encrypt and --plain cannot be used together</translation>
    </message>
    <message>
        <source>项目只能另存为 .mvprg 文件：%1</source>
        <translation>A project can only be saved as a .mvprg file: %1</translation>
    </message>
    <message>
        <source>无法打开 %1：%2</source>
        <translation>Cannot open %1: %2</translation>
    </message>
    <message>
        <source>%1 不是项目文件</source>
        <translation>%1 is not a project file</translation>
    </message>
    <message>
        <source>%1 受密码保护，请用 --password-stdin 或环境变量 MAROVIN_PASSWORD 给出项目密码</source>
        <translation>%1 is password-protected; give the project password with --password-stdin or MAROVIN_PASSWORD</translation>
    </message>
    <message>
        <source>--password 和 --password-stdin 不能同时使用</source>
        <translation>--password and --password-stdin cannot be used together</translation>
    </message>
    <message>
        <source>标准输入上的密码太长</source>
        <translation>The password on standard input is too long</translation>
    </message>
    <message>
        <source>--password-stdin：标准输入没有给出密码</source>
        <translation>--password-stdin: standard input gave no password</translation>
    </message>
    <message>
        <source>%1 的项目密码错误</source>
        <translation>Wrong project password for %1</translation>
    </message>
    <message>
        <source>无法读取 %1</source>
        <translation>Cannot read %1</translation>
    </message>
    <message>
        <source>没有名为 %1 的画面</source>
        <translation>No screen named %1</translation>
    </message>
    <message>
        <source>无法创建文件夹 %1</source>
        <translation>Cannot create the folder %1</translation>
    </message>
    <message>
        <source>画面 %1 没有面积</source>
        <translation>Screen %1 has no area</translation>
    </message>
    <message>
        <source>无法写入 %1：%2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>警告：%1 含有本版本不认识的元素：%2</source>
        <translation>warning: %1 contains elements this version does not know: %2</translation>
    </message>
    <message>
        <source>警告：%1 含有本版本不认识的属性：%2</source>
        <translation>warning: %1 contains attributes this version does not know: %2</translation>
    </message>
    <message>
        <source>画面太大，无法输出图片</source>
        <translation>The screen is too large to output as a picture</translation>
    </message>
    <message>
        <source>无法写入标准输出</source>
        <translation>Cannot write to standard output</translation>
    </message>
    <message>
        <source>无法读取 %1：%2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>%1 已损坏：%2</source>
        <translation>%1 is damaged: %2</translation>
    </message>
    <message>
        <source>缺少命令（%1），用 --help 查看用法</source>
        <translation>Missing command (%1); see --help for usage</translation>
    </message>
    <message>
        <source>未知命令：%1（可用的命令：%2）</source>
        <translation>Unknown command: %1 (the commands are %2)</translation>
    </message>
    <message>
        <source>警告：%1 含有超出范围或不是数字的数值，已改为最接近的有效值或默认值：
%2</source>
        <translation>warning: %1 contains numbers out of range or not numbers at all, replaced by the nearest valid value or the default:
%2</translation>
    </message>
    <message>
        <source>--screen 需要画面名称</source>
        <translation>--screen needs a screen name</translation>
    </message>
    <message>
        <source>%1 受密码保护，但从标准输入读到的一行是空的</source>
        <translation>%1 is password-protected, but the line read from standard input was empty</translation>
    </message>
    <message>
        <source>未知选项：%1</source>
        <translation>Unknown option: %1</translation>
    </message>
    <message>
        <source>%1 后面缺少值</source>
        <translation>Missing value after %1</translation>
    </message>
    <message>
        <source>%1 不接受值</source>
        <translation>%1 takes no value</translation>
    </message>
    <message>
        <source>--set 和 --lang 只用于 render</source>
        <translation>--set and --lang are only for render</translation>
    </message>
    <message>
        <source>--lang 需要语言序号（从 0 数起）：%1</source>
        <translation>--lang needs a language number (counted from 0): %1</translation>
    </message>
    <message>
        <source>--set 需要“目标=值”：%1</source>
        <translation>--set needs TARGET=VALUE: %1</translation>
    </message>
    <message>
        <source>--set %1：%2</source>
        <translation>--set %1: %2</translation>
    </message>
    <message>
        <source>无法打开窗口画面 %1</source>
        <translation>Cannot open the window screen %1</translation>
    </message>
    <message>
        <source>窗口画面 %1 需要一个基本画面作背景，项目却没有</source>
        <translation>The window screen %1 opens over a base screen, but the project has none</translation>
    </message>
    <message>
        <source>无法显示画面 %1</source>
        <translation>Cannot show the screen %1</translation>
    </message>
    <message>
        <source>画面 %1 不是基本画面或窗口画面，面板上不会单独显示</source>
        <translation>The screen %1 is neither a base nor a window screen; the panel never shows it alone</translation>
    </message>
    <message>
        <source>没有序号为 %1 的语言（项目有 %2 种语言，从 0 数起）</source>
        <translation>No language %1 (the project has %2 languages, counted from 0)</translation>
    </message>
</context>
<context>
    <name>ColorCombox</name>
    <message>
        <source>颜色选择</source>
        <translation>Select Color</translation>
    </message>
    <message>
        <source>透明</source>
        <translation>Transparent</translation>
    </message>
    <message>
        <source>其他</source>
        <translation>Other</translation>
    </message>
</context>
<context>
    <name>CommandLineHelp</name>
    <message>
        <source>选项：</source>
        <translation>Options:</translation>
    </message>
    <message>
        <source>用法：%1</source>
        <translation>Usage: %1</translation>
    </message>
</context>
<context>
    <name>Config</name>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>设备</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>地址</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>长度</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>Mark</translation>
    </message>
    <message>
        <source>本地</source>
        <translation>Local</translation>
    </message>
</context>
<context>
    <name>DeviceAddDialog</name>
    <message>
        <source>COM%1（不可用）</source>
        <translation>COM%1 (unavailable)</translation>
    </message>
    <message>
        <source>%1应在%2到%3之间。</source>
        <translation>%1 must lie between %2 and %3.</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>添加设备</source>
        <translation>Add Device</translation>
    </message>
    <message>
        <source> 名称</source>
        <translation> Name</translation>
    </message>
    <message>
        <source> 协议</source>
        <translation> Protocol</translation>
    </message>
    <message>
        <source> 类型</source>
        <translation> Type</translation>
    </message>
    <message>
        <source> 端口</source>
        <translation> Port</translation>
    </message>
    <message>
        <source> 站号</source>
        <translation> Station</translation>
    </message>
    <message>
        <source>数据格式</source>
        <translation>Data Format</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>数据位</source>
        <translation>Data bits</translation>
    </message>
    <message>
        <source>停止位</source>
        <translation>Stop bits</translation>
    </message>
    <message>
        <source>校验位</source>
        <translation>Parity</translation>
    </message>
    <message>
        <source>通讯时间</source>
        <translation>Timing</translation>
    </message>
    <message>
        <source>通讯超时</source>
        <translation>Timeout</translation>
    </message>
    <message>
        <source>通讯延时</source>
        <translation>Send delay</translation>
    </message>
    <message>
        <source>响应延时</source>
        <translation>Response delay</translation>
    </message>
    <message>
        <source>重发次数</source>
        <translation>Retries</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>DockManager</name>
    <message>
        <source>工程</source>
        <translation>Project</translation>
    </message>
    <message>
        <source>元件</source>
        <translation>Element</translation>
    </message>
    <message>
        <source>工具箱</source>
        <translation>Toolbox</translation>
    </message>
    <message>
        <source>属性浏览</source>
        <translation>Property Browser</translation>
    </message>
    <message>
        <source>编译输出</source>
        <translation>Compiler Output</translation>
    </message>
    <message>
        <source>查找输出</source>
        <translation>Find Output</translation>
    </message>
    <message>
        <source>应用输出</source>
        <translation>Application Output</translation>
    </message>
</context>
<context>
    <name>DrawManager</name>
    <message>
        <source>脚本_%1</source>
        <translation>Script_%1</translation>
    </message>
</context>
<context>
    <name>DrawScene</name>
    <message>
        <source>窗口画面</source>
        <translation>Diloag</translation>
    </message>
    <message>
        <source>模板画面</source>
        <translation>Template</translation>
    </message>
    <message>
        <source>基本画面</source>
        <translation>Widget</translation>
    </message>
    <message>
        <source>元件已锁定：不能移动、缩放、变形或旋转。</source>
        <translation>Shapes are locked: they cannot be moved, resized, reshaped or rotated.</translation>
    </message>
    <message>
        <source>组合最多嵌套%1层，不能再组合。</source>
        <translation>Groups can be nested at most %1 levels deep; these shapes cannot be grouped.</translation>
    </message>
</context>
<context>
    <name>EditorCommandLine</name>
    <message>
        <source>未知选项“%1”。</source>
        <translation>Unknown option “%1”.</translation>
    </message>
    <message>
        <source>选项“%1”缺少值。</source>
        <translation>The option “%1” needs a value.</translation>
    </message>
    <message>
        <source>用“%1 --help”查看可用的选项。</source>
        <translation>Try “%1 --help” for the options.</translation>
    </message>
    <message>
        <source>显示此帮助。</source>
        <translation>Displays this help.</translation>
    </message>
    <message>
        <source>显示版本信息。</source>
        <translation>Displays version information.</translation>
    </message>
    <message>
        <source>窗口显示后把它的图片写入此 PNG 文件，然后退出。</source>
        <translation>Once the window is shown, write a picture of it to this PNG file, then quit.</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>file</translation>
    </message>
    <message>
        <source>项目文件</source>
        <translation>PROJECT</translation>
    </message>
    <message>
        <source>%1 [选项] [%2]</source>
        <translation>%1 [OPTIONS] [%2]</translation>
    </message>
    <message>
        <source>工业操作面板（HMI）的组态编辑器。</source>
        <translation>Configuration editor for industrial operator panels (HMI).</translation>
    </message>
    <message>
        <source>参数：</source>
        <translation>Arguments:</translation>
    </message>
    <message>
        <source>启动时打开的项目（.mvprg）。</source>
        <translation>The project to open at start (.mvprg).</translation>
    </message>
    <message>
        <source>界面所用工具包的选项（如 -style、-platform）也可使用。</source>
        <translation>The options of the interface toolkit (such as -style and -platform) work too.</translation>
    </message>
</context>
<context>
    <name>FindDialog</name>
    <message>
        <source>查找</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>区分大小写</source>
        <translation>Match case</translation>
    </message>
    <message>
        <source>全字匹配</source>
        <translation>Whole words</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>查找内容：</source>
        <translation>Find what:</translation>
    </message>
</context>
<context>
    <name>FirstPage</name>
    <message>
        <source>工程</source>
        <translation>Projects</translation>
    </message>
    <message>
        <source>示例</source>
        <translation>Examples</translation>
    </message>
    <message>
        <source>最近工程：</source>
        <translation>Recent projects:</translation>
    </message>
</context>
<context>
    <name>GraphicsBezier</name>
    <message>
        <source>bezier</source>
        <translation>bezier</translation>
    </message>
</context>
<context>
    <name>GraphicsEllipseItem</name>
    <message>
        <source>ellipse</source>
        <translation>ellipse</translation>
    </message>
</context>
<context>
    <name>GraphicsImageItem</name>
    <message>
        <source>imageitem</source>
        <translation>imageitem</translation>
    </message>
</context>
<context>
    <name>GraphicsItemGroup</name>
    <message>
        <source>group</source>
        <translation>group</translation>
    </message>
</context>
<context>
    <name>GraphicsLineItem</name>
    <message>
        <source>line</source>
        <translation>line</translation>
    </message>
</context>
<context>
    <name>GraphicsPolygonItem</name>
    <message>
        <source>polygon</source>
        <translation>polygon</translation>
    </message>
</context>
<context>
    <name>GraphicsPolyline</name>
    <message>
        <source>polyline</source>
        <translation>polyline</translation>
    </message>
</context>
<context>
    <name>GraphicsRectItem</name>
    <message>
        <source>rectangle</source>
        <translation>rectangle</translation>
    </message>
</context>
<context>
    <name>GraphicsRoundrectItem</name>
    <message>
        <source>roundrect</source>
        <translation>roundrect</translation>
    </message>
</context>
<context>
    <name>GraphicsTextItem</name>
    <message>
        <source>textitem</source>
        <translation>textitem</translation>
    </message>
</context>
<context>
    <name>GraphicsWidgetItem</name>
    <message>
        <source>widget</source>
        <translation>widget</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>ItemsTable</name>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Type</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>&lt;空&gt;</source>
        <translation>&lt;empty&gt;</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>内置表有错误，相关的选项可能缺失：
%1</source>
        <translation>A built-in table has errors; some choices may be missing:
%1</translation>
    </message>
</context>
<context>
    <name>NewProjectDialog</name>
    <message>
        <source>创建新工程</source>
        <translation>Create New Project</translation>
    </message>
    <message>
        <source>%1 寸</source>
        <translation>%1 in</translation>
    </message>
    <message>
        <source>%1×%2 像素</source>
        <translation>%1×%2 pixels</translation>
    </message>
    <message>
        <source>%1 个</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>选择路径</source>
        <translation>Choose Location</translation>
    </message>
    <message>
        <source>工程名称不能为空，不能是 . 或 ..，也不能包含 / 或 \。</source>
        <translation>The project name must not be empty, must not be . or .. and must not contain / or \.</translation>
    </message>
    <message>
        <source>请选择工程位置。</source>
        <translation>Please choose a project location.</translation>
    </message>
    <message>
        <source>工程</source>
        <translation>Project</translation>
    </message>
    <message>
        <source>该目录下已存在同名工程，是否覆盖?</source>
        <translation>A project of the same name already exists in this folder. Overwrite it?</translation>
    </message>
    <message>
        <source>是(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>否(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>无法创建工程目录 %1。</source>
        <translation>Cannot create the project folder %1.</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>硬件类型</source>
        <translation>Hardware</translation>
    </message>
    <message>
        <source>屏幕方向</source>
        <translation>Orientation</translation>
    </message>
    <message>
        <source>水平</source>
        <translation>Horizontal</translation>
    </message>
    <message>
        <source>垂直</source>
        <translation>Vertical</translation>
    </message>
    <message>
        <source>详细</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>画面尺寸：</source>
        <translation>Screen size:</translation>
    </message>
    <message>
        <source>分辨率：</source>
        <translation>Resolution:</translation>
    </message>
    <message>
        <source>USB:</source>
        <translation>USB:</translation>
    </message>
    <message>
        <source>串口：</source>
        <translation>Serial ports:</translation>
    </message>
    <message>
        <source>其他：</source>
        <translation>Other:</translation>
    </message>
    <message>
        <source>工程名称</source>
        <translation>Project name</translation>
    </message>
    <message>
        <source>工程位置</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>· · ·</source>
        <translation>· · ·</translation>
    </message>
    <message>
        <source>启动时显示这个对话框</source>
        <translation>Show this dialog at start-up</translation>
    </message>
    <message>
        <source>   最近工程   </source>
        <translation>   Recent Projects   </translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>OptionSetDialog</name>
    <message>
        <source>系统设置</source>
        <translation>System</translation>
    </message>
    <message>
        <source>网格设置</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>语言设置</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>网格</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>锁定所有元件</source>
        <translation>Fixe All</translation>
    </message>
    <message>
        <source>对齐网格</source>
        <translation>Align</translation>
    </message>
    <message>
        <source>X间隔(4-60)</source>
        <translation>X Spacing (4-60)</translation>
    </message>
    <message>
        <source>Y间隔(4-60)</source>
        <translation>Y Spacing (4-60)</translation>
    </message>
    <message>
        <source>网格颜色</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>工程自动保存</source>
        <translation>Auto save project</translation>
    </message>
    <message>
        <source>时间间隔(min)</source>
        <translation>Interval (min)</translation>
    </message>
    <message>
        <source>选择系统语言</source>
        <translation>Choose language</translation>
    </message>
    <message>
        <source>中文</source>
        <translation>Chinese</translation>
    </message>
    <message>
        <source>英文</source>
        <translation>English</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>DeviceProtocolTable</name>
    <message>
        <source>ZELHMI协议</source>
        <translation>ZELHMI protocol</translation>
    </message>
    <message>
        <source>ZELPLC协议</source>
        <translation>ZELPLC protocol</translation>
    </message>
    <message>
        <source>Modbus协议</source>
        <translation>Modbus protocol</translation>
    </message>
    <message>
        <source>自由口协议</source>
        <translation>Free port</translation>
    </message>
</context>
<context>
    <name>BindingCheck</name>
    <message>
        <source>%1绑定的地址标签“%2”不存在</source>
        <translation>%1 binding: the address tag “%2” does not exist</translation>
    </message>
    <message>
        <source>%1绑定没有数据来源</source>
        <translation>%1 binding has no source</translation>
    </message>
    <message>
        <source>%1绑定的设备“%2”不存在</source>
        <translation>%1 binding: the device “%2” does not exist</translation>
    </message>
    <message>
        <source>%1绑定的数据类型“%2”无效</source>
        <translation>%1 binding: the data type “%2” is not valid</translation>
    </message>
    <message>
        <source>%1绑定的地址“%2”无效</source>
        <translation>%1 binding: the address “%2” is not valid</translation>
    </message>
    <message>
        <source>画面动作没有指定画面</source>
        <translation>The screen action names no screen</translation>
    </message>
    <message>
        <source>动作指向的画面“%1”不存在</source>
        <translation>The screen “%1” the action goes to does not exist</translation>
    </message>
    <message>
        <source>切换画面只能切换到基本画面，“%1”不是基本画面</source>
        <translation>A screen switch goes to base screens only; “%1” is not a base screen</translation>
    </message>
    <message>
        <source>打开和关闭窗口只能用于窗口画面，“%1”不是窗口画面</source>
        <translation>Only window screens are opened and closed; “%1” is not a window screen</translation>
    </message>
    <message>
        <source>%1绑定的最小值 %2 大于最大值 %3</source>
        <translation>%1 binding: the minimum %2 is greater than the maximum %3</translation>
    </message>
    <message>
        <source>可见绑定的范围 %1 到 %2 是反的，任何值都不在其中</source>
        <translation>Visible binding: the range %1 to %2 is reversed, so no value lies in it</translation>
    </message>
    <message>
        <source>文字状态绑定没有指定文本标签</source>
        <translation>The text state binding names no text tag</translation>
    </message>
    <message>
        <source>文字状态绑定的文本标签“%1”不存在</source>
        <translation>Text state binding: the text tag “%1” does not exist</translation>
    </message>
    <message>
        <source>复选框和单选按钮显示并写入一个位，需要 Bool 类型的数据来源；“%1”的类型是 %2</source>
        <translation>check boxes and radio buttons show and write one bit and need a source of type Bool; “%1” is of type %2</translation>
    </message>
    <message>
        <source>%2 类型的“%1”不能按小数位、比例或偏移显示</source>
        <translation>“%1” of type %2 cannot be shown with decimals, scale or offset</translation>
    </message>
    <message>
        <source>下拉框的数值是选项序号，%2 类型的“%1”给不出序号</source>
        <translation>a combo box shows an entry number, which “%1” of type %2 cannot give</translation>
    </message>
    <message>
        <source>按整数值选择状态，%2 类型的“%1”给不出整数</source>
        <translation>states are chosen by a whole number, which “%1” of type %2 cannot give</translation>
    </message>
    <message>
        <source>按位的可见条件需要 Bool 类型的数据来源；“%1”的类型是 %2</source>
        <translation>a visibility condition on a bit needs a source of type Bool; “%1” is of type %2</translation>
    </message>
    <message>
        <source>比较数值，%2 类型的“%1”给不出数值</source>
        <translation>values are compared, and “%1” of type %2 gives no number</translation>
    </message>
    <message>
        <source>置位、复位、取反和点动动作需要 Bool 类型的数据来源；“%1”的类型是 %2</source>
        <translation>set, reset, toggle and momentary actions need a source of type Bool; “%1” is of type %2</translation>
    </message>
    <message>
        <source>写入和加减动作写的是数值，%2 类型的“%1”存不下</source>
        <translation>write, add and subtract actions write a number, which “%1” of type %2 cannot hold</translation>
    </message>
    <message>
        <source>加减动作不能用于 %2 类型的“%1”，它只有 0 和 1</source>
        <translation>add and subtract actions do not suit “%1” of type %2, which holds only 0 and 1</translation>
    </message>
    <message>
        <source>%1绑定：%2</source>
        <translation>%1 binding: %2</translation>
    </message>
    <message>
        <source>%1绑定写入只读的“%2”，面板不会接受写入的值</source>
        <translation>%1 binding writes to the read-only “%2”; the panel does not take the value</translation>
    </message>
</context>
<context>
    <name>EditCommands</name>
    <message>
        <source>粘贴</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>图片没有复制到本工程，粘贴的图形仍指向原来的文件：
%1</source>
        <translation>Pictures were not copied into this project; the pasted shapes still name the files they named before:
%1</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message numerus="yes">
        <source>组合对象带有 %n 个数据绑定和本版本不认识的内容，取消组合将删除它们。是否继续？</source>
        <translation>
            <numerusform>The group holds %n binding and content this version does not know; ungrouping deletes them. Continue?</numerusform>
            <numerusform>The group holds %n bindings and content this version does not know; ungrouping deletes them. Continue?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>组合对象带有 %n 个数据绑定，取消组合将删除它们。是否继续？</source>
        <translation>
            <numerusform>The group holds %n binding; ungrouping deletes it. Continue?</numerusform>
            <numerusform>The group holds %n bindings; ungrouping deletes them. Continue?</numerusform>
        </translation>
    </message>
    <message>
        <source>组合对象带有本版本不认识的内容，取消组合将删除它们。是否继续？</source>
        <translation>The group holds content this version does not know; ungrouping deletes it. Continue?</translation>
    </message>
    <message>
        <source>取消组合</source>
        <translation>Ungroup</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>ProjectCheck</name>
    <message>
        <source>项目没有基本画面，面板启动时无画面可显示</source>
        <translation>The project has no base screen; the panel has nothing to show at start</translation>
    </message>
    <message>
        <source>硬件型号编号 %1 不在硬件表中（0..%2）</source>
        <translation>Hardware model number %1 is not in the hardware table (0..%2)</translation>
    </message>
    <message>
        <source>语言没有名称</source>
        <translation>The language has no name</translation>
    </message>
    <message>
        <source>设备名称“%1”与第 %2 个设备重复</source>
        <translation>Device name “%1” is already used by device %2</translation>
    </message>
    <message>
        <source>端口 COM%1 超出硬件型号 %2 的串口数（%3 个）</source>
        <translation>Port COM%1 is beyond the serial ports of hardware model %2 (%3)</translation>
    </message>
    <message>
        <source>没有地址标签使用此设备</source>
        <translation>No address tag uses this device</translation>
    </message>
    <message>
        <source>画面名称“%1”重复</source>
        <translation>Screen name “%1” is used more than once</translation>
    </message>
    <message>
        <source>图形名称“%1”在此画面中重复</source>
        <translation>Shape name “%1” is used more than once on this screen</translation>
    </message>
    <message>
        <source>图形完全在画面之外</source>
        <translation>The shape lies wholly outside its screen</translation>
    </message>
    <message>
        <source>图形部分超出画面</source>
        <translation>The shape lies partly outside its screen</translation>
    </message>
    <message>
        <source>图形大小为零，面板上看不到</source>
        <translation>The shape has zero size and cannot be seen on the panel</translation>
    </message>
    <message>
        <source>控件没有文字</source>
        <translation>The widget shows no text</translation>
    </message>
    <message>
        <source>地址标签没有名称</source>
        <translation>The address tag has no name</translation>
    </message>
    <message>
        <source>地址标签名称“%1”与第 %2 行重复</source>
        <translation>Address tag name “%1” is already used in row %2</translation>
    </message>
    <message>
        <source>设备“%1”不存在</source>
        <translation>Device “%1” does not exist</translation>
    </message>
    <message>
        <source>数据类型“%1”无效</source>
        <translation>Data type “%1” is not valid</translation>
    </message>
    <message>
        <source>地址“%1”无效</source>
        <translation>Address “%1” is not valid</translation>
    </message>
    <message>
        <source>长度“%1”无效</source>
        <translation>Length “%1” is not valid</translation>
    </message>
    <message>
        <source>地址“%1”超出区域 %2 的范围 %3..%4</source>
        <translation>Address “%1” is outside the range %3..%4 of area %2</translation>
    </message>
    <message>
        <source>地址“%1”的类型 %2 占 %3 个字（%4..%5），超出区域 %6 的末地址 %7</source>
        <translation>Address “%1”: type %2 takes %3 words (%4..%5), beyond the last address %7 of area %6</translation>
    </message>
    <message>
        <source>设备没有名称</source>
        <translation>The device has no name</translation>
    </message>
    <message>
        <source>画面没有名称</source>
        <translation>The screen has no name</translation>
    </message>
    <message>
        <source>画面宽 %1、高 %2：面板上显示不出来</source>
        <translation>The screen is %1 wide and %2 high: the panel cannot show it</translation>
    </message>
    <message>
        <source>图形没有名称，脚本和查找无法指向它</source>
        <translation>The shape has no name, so scripts and find cannot point to it</translation>
    </message>
    <message>
        <source>地址“%1”的位号超出 0..15</source>
        <translation>The bit number of address “%1” is outside 0..15</translation>
    </message>
    <message>
        <source>文本标签没有名称</source>
        <translation>The text tag has no name</translation>
    </message>
    <message>
        <source>文本标签名称“%1”与第 %2 个标签重复</source>
        <translation>Text tag name “%1” is already used by tag %2</translation>
    </message>
    <message>
        <source>语言 %1</source>
        <translation>language %1</translation>
    </message>
    <message>
        <source>状态 %1 的 %2 文本为空</source>
        <translation>State %1 has an empty %2 text</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>错误</source>
        <translation>error</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>warning</translation>
    </message>
    <message>
        <source>项目</source>
        <translation>project</translation>
    </message>
    <message>
        <source>画面 %1</source>
        <translation>screen %1</translation>
    </message>
    <message>
        <source>画面 #%1</source>
        <translation>screen #%1</translation>
    </message>
    <message>
        <source>图形 #%1</source>
        <translation>shape #%1</translation>
    </message>
    <message>
        <source>图形 %1</source>
        <translation>shape %1</translation>
    </message>
    <message>
        <source>地址标签第 %1 行 %2</source>
        <translation>address tag row %1 %2</translation>
    </message>
    <message>
        <source>文本标签第 %1 个 %2</source>
        <translation>text tag %1 %2</translation>
    </message>
    <message>
        <source>设备 %1 %2</source>
        <translation>device %1 %2</translation>
    </message>
    <message>
        <source>%1，%2</source>
        <translation>%1, %2</translation>
    </message>
    <message numerus="yes">
        <source>%n 个错误</source>
        <translation>
            <numerusform>%n error</numerusform>
            <numerusform>%n errors</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 个警告</source>
        <translation>
            <numerusform>%n warning</numerusform>
            <numerusform>%n warnings</numerusform>
        </translation>
    </message>
    <message>
        <source>%1@%2 的值 %3 超出范围，已改为 %4</source>
        <translation>%1@%2: the value %3 is out of range and was replaced by %4</translation>
    </message>
    <message>
        <source>%1@%2 的值 %3 不是数字，已改为默认值 %4</source>
        <translation>%1@%2: the value %3 is not a number and was replaced by the default %4</translation>
    </message>
    <message>
        <source>地址标签没有指定设备</source>
        <translation>The address tag names no device</translation>
    </message>
    <message>
        <source>图片文件“%1”：%2</source>
        <translation>Picture file “%1”: %2</translation>
    </message>
    <message>
        <source>没有对象使用此地址标签</source>
        <translation>No shape uses this address tag</translation>
    </message>
    <message>
        <source>没有对象使用此文本标签</source>
        <translation>No shape uses this text tag</translation>
    </message>
</context>
<context>
    <name>ProjectConfigDialog</name>
    <message>
        <source>本地</source>
        <translation>Local</translation>
    </message>
    <message>
        <source>修改工程设置</source>
        <translation>Change project settings</translation>
    </message>
    <message>
        <source>工程配置</source>
        <translation>Project Config</translation>
    </message>
    <message>
        <source>%1 寸</source>
        <translation>%1 in</translation>
    </message>
    <message>
        <source>%1×%2 像素</source>
        <translation>%1×%2 pixels</translation>
    </message>
    <message>
        <source>%1 个</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>语言%1</source>
        <translation>Language%1</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>设备名称不能为空！</source>
        <translation>The device name must not be empty!</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>设备名称重复！</source>
        <translation>Duplicate device name!</translation>
    </message>
    <message>
        <source>“%1”是面板本身的名称，不能用作设备名称！</source>
        <translation>"%1" is the panel's own name and cannot name a device!</translation>
    </message>
    <message>
        <source>设备_%1</source>
        <translation>Dev_%1</translation>
    </message>
    <message>
        <source>删除设备</source>
        <translation>Delete Device</translation>
    </message>
    <message>
        <source>%1 个地址标签使用设备“%2”，删除后这些标签将指向不存在的设备。</source>
        <translation>%1 address tags use the device &quot;%2&quot;; once it is deleted they will name a device that does not exist.</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>输入密码: </source>
        <translation>Password: </translation>
    </message>
    <message>
        <source>确认密码: </source>
        <translation>Confirm: </translation>
    </message>
    <message>
        <source>请输入密码！</source>
        <translation>Please enter a password!</translation>
    </message>
    <message>
        <source>输入密码和确认密码不一致！</source>
        <translation>The password and its confirmation differ!</translation>
    </message>
    <message>
        <source>设置项目密码</source>
        <translation>Set Project Password</translation>
    </message>
    <message>
        <source>项目密码验证</source>
        <translation>Project Password Verification</translation>
    </message>
    <message>
        <source>设置宏指令密码</source>
        <translation>Set Macro Password</translation>
    </message>
    <message>
        <source>宏指令密码验证</source>
        <translation>Macro Password Verification</translation>
    </message>
    <message>
        <source>工程信息</source>
        <translation>Project</translation>
    </message>
    <message>
        <source>语言字体</source>
        <translation>Languages and Fonts</translation>
    </message>
    <message>
        <source>设备管理</source>
        <translation>Devices</translation>
    </message>
    <message>
        <source>用户管理</source>
        <translation>User Management</translation>
    </message>
    <message>
        <source>其他设置</source>
        <translation>Other Settings</translation>
    </message>
    <message>
        <source>硬件类型</source>
        <translation>Hardware</translation>
    </message>
    <message>
        <source>屏幕方向</source>
        <translation>Orientation</translation>
    </message>
    <message>
        <source>水平</source>
        <translation>Horizontal</translation>
    </message>
    <message>
        <source>垂直</source>
        <translation>Vertical</translation>
    </message>
    <message>
        <source>详细</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>画面尺寸：</source>
        <translation>Screen size:</translation>
    </message>
    <message>
        <source>分辨率：</source>
        <translation>Resolution:</translation>
    </message>
    <message>
        <source>串口：</source>
        <translation>Serial ports:</translation>
    </message>
    <message>
        <source>其他：</source>
        <translation>Other:</translation>
    </message>
    <message>
        <source>工程名称</source>
        <translation>Project name</translation>
    </message>
    <message>
        <source>工程位置</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>语言数量</source>
        <translation>Languages</translation>
    </message>
    <message>
        <source>减少语言数量后，%1 条文本不会保存到工程文件中；关闭工程之前再增加语言数量，这些文本仍会回来。
是否继续？</source>
        <translation>With fewer languages, %1 texts will not be saved in the project file; raising the number of languages again before the project is closed brings them back.
Continue?</translation>
    </message>
    <message>
        <source>语言名称</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>使用字体</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>说明</source>
        <translation>Remark</translation>
    </message>
    <message>
        <source>添加设备</source>
        <translation>Add Device</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>协议</source>
        <translation>Protocol</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>数据格式</source>
        <translation>Data Format</translation>
    </message>
    <message>
        <source>站号</source>
        <translation>Station</translation>
    </message>
    <message>
        <source>通讯超时</source>
        <translation>Timeout</translation>
    </message>
    <message>
        <source>项目保护</source>
        <translation>Protection</translation>
    </message>
    <message>
        <source>项目密码</source>
        <translation>Project password</translation>
    </message>
    <message>
        <source>宏指令密码</source>
        <translation>Macro password</translation>
    </message>
    <message>
        <source>工程文件保存时加密（文件将以密文格式保存）</source>
        <translation>Encrypt the project file when saving (the file is saved encoded)</translation>
    </message>
    <message>
        <source>两个密码只在本编辑器中起作用：它们按输入的原样保存在工程文件里。“加密”保存只是一种任何人都能还原的编码，不能防止别人读出文件内容和密码。</source>
        <translation>Both passwords work in this editor only: they are stored in the project file as typed. Saving “encrypted” is an encoding that anyone can undo; it does not keep others from reading the file or the passwords.</translation>
    </message>
</context>
<context>
    <name>ProjectDocument</name>
    <message>
        <source>重命名 %1</source>
        <translation>Rename %1</translation>
    </message>
    <message>
        <source>重命名设备 %1</source>
        <translation>Rename device %1</translation>
    </message>
    <message>
        <source>添加设备</source>
        <translation>Add device</translation>
    </message>
    <message>
        <source>删除设备</source>
        <translation>Remove device</translation>
    </message>
    <message>
        <source>修改设备</source>
        <translation>Edit device</translation>
    </message>
    <message>
        <source>修改语言</source>
        <translation>Change languages</translation>
    </message>
    <message>
        <source>修改文本标签库</source>
        <translation>Change text tag library</translation>
    </message>
    <message>
        <source>修改地址标签库</source>
        <translation>Change address tag library</translation>
    </message>
</context>
<context>
    <name>ProjectFile</name>
    <message>
        <source>%1（第 %2 行，第 %3 列）</source>
        <translation>%1 (line %2, column %3)</translation>
    </message>
    <message>
        <source>工程受项目密码保护，但没有给出项目密码</source>
        <translation>The project is protected by a project password, but no password was given</translation>
    </message>
    <message>
        <source>项目密码验证失败</source>
        <translation>The project password was not verified</translation>
    </message>
    <message>
        <source>写入文件失败 %1。
%2.</source>
        <translation>Failed to write file %1.
%2.</translation>
    </message>
    <message>
        <source>不是工程文件：根元素是 %1</source>
        <translation>Not a project file: the root element is %1</translation>
    </message>
    <message>
        <source>元素嵌套超过 %1 层</source>
        <translation>Elements are nested more than %1 levels deep</translation>
    </message>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message numerus="yes">
        <source>……另有 %n 处；完整列表请运行检查。</source>
        <translation>
            <numerusform>… and %n more; run the check for the whole list.</numerusform>
            <numerusform>… and %n more; run the check for the whole list.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ProjectSearch</name>
    <message>
        <source>画面名称</source>
        <translation>screen name</translation>
    </message>
    <message>
        <source>图形名称</source>
        <translation>shape name</translation>
    </message>
    <message>
        <source>图形文字</source>
        <translation>shape text</translation>
    </message>
    <message>
        <source>数据</source>
        <translation>data</translation>
    </message>
    <message>
        <source>地址标签名称</source>
        <translation>address tag name</translation>
    </message>
    <message>
        <source>地址</source>
        <translation>address</translation>
    </message>
    <message>
        <source>备注</source>
        <translation>remark</translation>
    </message>
    <message>
        <source>文本标签名称</source>
        <translation>text tag name</translation>
    </message>
    <message>
        <source>文本标签文字</source>
        <translation>text tag text</translation>
    </message>
</context>
<context>
    <name>ProjectTree</name>
    <message>
        <source>已有名为“%1”的画面，请换一个名称。</source>
        <translation>A screen named “%1” exists already. Choose another name.</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>画面</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>基础画面</source>
        <translation>Widget</translation>
    </message>
    <message>
        <source>添加基础画面</source>
        <translation>Add Widget</translation>
    </message>
    <message>
        <source>窗口画面</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>添加窗口画面</source>
        <translation>Add Dialog</translation>
    </message>
    <message>
        <source>模板画面</source>
        <translation>Template</translation>
    </message>
    <message>
        <source>添加模板画面</source>
        <translation>Add Template</translation>
    </message>
    <message>
        <source>脚本</source>
        <translation>Script</translation>
    </message>
    <message>
        <source>添加脚本</source>
        <translation>Add Script</translation>
    </message>
    <message>
        <source>重命名</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>属性</source>
        <translation>Property</translation>
    </message>
    <message>
        <source>创建副本</source>
        <translation>Create copy</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>确定要删除 %1 吗?</source>
        <translation>Delete %1?</translation>
    </message>
    <message>
        <source>是(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>否(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
</context>
<context>
    <name>PropertyDialog</name>
    <message>
        <source>已有名为“%1”的画面，请换一个名称。</source>
        <translation>A screen named “%1” exists already. Choose another name.</translation>
    </message>
    <message>
        <source>宽度和高度至少为 1。</source>
        <translation>Width and height must be at least 1.</translation>
    </message>
    <message>
        <source>元件须完整位于画面内（宽 %1，高 %2），请修改位置或大小。</source>
        <translation>The shape must lie entirely on the screen (width %1, height %2). Change its position or size.</translation>
    </message>
    <message>
        <source>属性</source>
        <translation>Property</translation>
    </message>
    <message>
        <source>提醒</source>
        <translation>Reminder</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>名称不能为空！</source>
        <translation>The name cannot be empty!</translation>
    </message>
    <message>
        <source>名称“%1”已被本画面的其他元件使用！</source>
        <translation>The name &quot;%1&quot; is already used by another component of this screen!</translation>
    </message>
    <message>
        <source>属性编辑</source>
        <translation>Edit Properties</translation>
    </message>
    <message>
        <source>基本</source>
        <translation>Basic</translation>
    </message>
    <message>
        <source>外观</source>
        <translation>Appearance</translation>
    </message>
    <message>
        <source>文本</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>事件</source>
        <translation>Events</translation>
    </message>
    <message>
        <source>显示</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>隐藏</source>
        <translation>Hide</translation>
    </message>
    <message>
        <source>按下</source>
        <translation>Press</translation>
    </message>
    <message>
        <source>弹起</source>
        <translation>Release</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>布局</source>
        <translation>Layout</translation>
    </message>
    <message>
        <source>水平位置</source>
        <translation>X</translation>
    </message>
    <message>
        <source>垂直位置</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>宽度</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>高度</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>图钉</source>
        <translation>Pin</translation>
    </message>
    <message>
        <source>寄存器</source>
        <translation>Register</translation>
    </message>
    <message>
        <source>背景色</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>字体</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>选择图片</source>
        <translation>Choose Picture</translation>
    </message>
    <message>
        <source>图片 (*.png *.jpg *.jpeg *.svg);;All files(*.*)</source>
        <translation>Pictures (*.png *.jpg *.jpeg *.svg);;All files(*.*)</translation>
    </message>
    <message>
        <source>图片未能加入工程：%1</source>
        <translation>The picture could not be added to the project: %1</translation>
    </message>
    <message>
        <source>图片</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>选择 PNG、JPEG 或 SVG 图片</source>
        <translation>Choose a PNG, JPEG or SVG picture</translation>
    </message>
    <message>
        <source>不显示图片</source>
        <translation>Show no picture</translation>
    </message>
    <message>
        <source>数据</source>
        <translation>Data</translation>
    </message>
</context>
<context>
    <name>PropertyRegistry</name>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>透明度</source>
        <translation>Opacity</translation>
    </message>
    <message>
        <source>z值</source>
        <translation>Z Value</translation>
    </message>
    <message>
        <source>固定</source>
        <translation>Fixed</translation>
    </message>
    <message>
        <source>旋转</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>宽度</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>高度</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>线宽</source>
        <translation>Line Width</translation>
    </message>
    <message>
        <source>线样式</source>
        <translation>Line Style</translation>
    </message>
    <message>
        <source>线颜色</source>
        <translation>Line Color</translation>
    </message>
    <message>
        <source>样式</source>
        <translation>Style</translation>
    </message>
    <message>
        <source>颜色</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>X半径</source>
        <translation>X Radius</translation>
    </message>
    <message>
        <source>Y半径</source>
        <translation>Y Radius</translation>
    </message>
    <message>
        <source>起始角度</source>
        <translation>Start Angle</translation>
    </message>
    <message>
        <source>角度大小</source>
        <translation>Span Angle</translation>
    </message>
    <message>
        <source>形状</source>
        <translation>Shape</translation>
    </message>
    <message>
        <source>背景颜色</source>
        <translation>Background Color</translation>
    </message>
    <message>
        <source>文字</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>水平对齐</source>
        <translation>Horizontal Alignment</translation>
    </message>
    <message>
        <source>垂直对齐</source>
        <translation>Vertical Alignment</translation>
    </message>
    <message>
        <source>字体颜色</source>
        <translation>Font Color</translation>
    </message>
    <message>
        <source>字体</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>前景颜色</source>
        <translation>Foreground Color</translation>
    </message>
    <message>
        <source>填充样式</source>
        <translation>Fill Style</translation>
    </message>
</context>
<context>
    <name>PropertyTreeBrowser</name>
    <message>
        <source>已有名为“%1”的画面，请换一个名称。</source>
        <translation>A screen named “%1” exists already. Choose another name.</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>提醒</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>属性</source>
        <translation>Property</translation>
    </message>
    <message>
        <source>值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>红</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>绿</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>蓝</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>字体</source>
        <translation>Family</translation>
    </message>
    <message>
        <source>字号</source>
        <translation>Point size</translation>
    </message>
    <message>
        <source>粗体</source>
        <translation>Bold</translation>
    </message>
    <message>
        <source>斜体</source>
        <translation>Italic</translation>
    </message>
    <message>
        <source>下划线</source>
        <translation>Underline</translation>
    </message>
    <message>
        <source>删除线</source>
        <translation>Strikeout</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message numerus="yes">
        <source>%n 项: %1</source>
        <translation>
            <numerusform>%n item: %1</numerusform>
            <numerusform>%n items: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>数据</source>
        <translation>Data</translation>
    </message>
</context>
<context>
    <name>RegEditWidget</name>
    <message>
        <source>标签“%1”已不在地址库中，请重新选择。</source>
        <translation>The tag “%1” is no longer in the address library; please choose another.</translation>
    </message>
    <message>
        <source>系统地址</source>
        <translation>System Address</translation>
    </message>
    <message>
        <source>用户地址</source>
        <translation>User Address</translation>
    </message>
    <message>
        <source>地址库···</source>
        <translation>Address Library...</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
</context>
<context>
    <name>SafeFile</name>
    <message>
        <source>无法写入文件“%1”：%2</source>
        <translation>Cannot write the file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>设置无法写入</source>
        <translation>the settings could not be written</translation>
    </message>
</context>
<context>
    <name>Simulation</name>
    <message>
        <source>没有要操作的图形</source>
        <translation>No shape to operate</translation>
    </message>
    <message>
        <source>图形“%1”不在显示的画面上</source>
        <translation>The shape “%1” is not on a screen shown</translation>
    </message>
    <message>
        <source>图形“%1”已隐藏</source>
        <translation>The shape “%1” is hidden</translation>
    </message>
    <message>
        <source>图形“%1”没有动作</source>
        <translation>The shape “%1” has no action</translation>
    </message>
    <message>
        <source>动作的数据来源“%1”不存在</source>
        <translation>The source “%1” of the action does not exist</translation>
    </message>
    <message>
        <source>没有名为“%1”的基本画面</source>
        <translation>There is no base screen named “%1”</translation>
    </message>
    <message>
        <source>没有名为“%1”的窗口画面</source>
        <translation>There is no window screen named “%1”</translation>
    </message>
    <message>
        <source>没有打开的窗口</source>
        <translation>No window is open</translation>
    </message>
    <message>
        <source>窗口“%1”没有打开</source>
        <translation>The window “%1” is not open</translation>
    </message>
    <message>
        <source>图形“%1”不接受输入</source>
        <translation>The shape “%1” takes no entry</translation>
    </message>
    <message>
        <source>“%1”不是有效的选项序号</source>
        <translation>“%1” is not a valid option number</translation>
    </message>
    <message>
        <source>“%1”不是 0 或 1</source>
        <translation>“%1” is neither 0 nor 1</translation>
    </message>
</context>
<context>
    <name>TabContent</name>
    <message>
        <source>关闭标签页</source>
        <translation>Close Tab</translation>
    </message>
    <message>
        <source>关闭所有标签页</source>
        <translation>Close All Tabs</translation>
    </message>
    <message>
        <source>关闭其他标签页</source>
        <translation>Close Other Tabs</translation>
    </message>
    <message>
        <source>生成新的水平选项卡组</source>
        <translation>New Horizontal Tab Group</translation>
    </message>
    <message>
        <source>生成新的垂直选项卡组</source>
        <translation>New Vertical Tab Group</translation>
    </message>
    <message>
        <source>移动到前一选项卡</source>
        <translation>Move to Previous Tab Group</translation>
    </message>
    <message>
        <source>移动到后一选项卡</source>
        <translation>Move to Next Tab Group</translation>
    </message>
</context>
<context>
    <name>TagExchange</name>
    <message>
        <source>不支持的文件类型：%1</source>
        <translation>Unsupported file type: %1</translation>
    </message>
    <message>
        <source>只能导出为xlsx、csv或txt文件：%1</source>
        <translation>Can only export to an xlsx, csv or txt file: %1</translation>
    </message>
    <message>
        <source>以下行少于六个字段，未导入：%1</source>
        <translation>These lines have fewer than six fields and were not imported: %1</translation>
    </message>
    <message>
        <source>标签名称</source>
        <translation>Tag name</translation>
    </message>
    <message>
        <source>文件“%1”是空的，没有可导入的内容。</source>
        <translation>The file “%1” is empty; there is nothing to import.</translation>
    </message>
    <message>
        <source>文件“%1”的第一个工作表是空的，没有可导入的内容。</source>
        <translation>The first sheet of the file “%1” is empty; there is nothing to import.</translation>
    </message>
    <message>
        <source>第%1列</source>
        <translation>column %1</translation>
    </message>
    <message>
        <source>第%1列“%2”</source>
        <translation>column %1 (“%2”)</translation>
    </message>
    <message>
        <source>以下列不是项目中的语言，未导入：%1</source>
        <translation>These columns name no language of the project and were not imported: %1</translation>
    </message>
    <message>
        <source>文件“%1”的第一行不是表头（没有“标签名称”列，也没有项目中语言的名称），已作为标签“%2”导入。</source>
        <translation>The first row of the file “%1” is no header (it names neither the tag name column nor a language of the project) and was imported as the tag “%2”.</translation>
    </message>
    <message>
        <source>文件“%1”第%2行的引号没有结束，未导入。</source>
        <translation>The quote opened on line %2 of the file “%1” is never closed; nothing was imported.</translation>
    </message>
    <message>
        <source>文件“%1”既不是UTF-8编码也不是GBK编码，部分文字可能不正确。</source>
        <translation>The file “%1” is neither UTF-8 nor GBK; some of its text may be wrong.</translation>
    </message>
    <message>
        <source>文件“%1”的第一行含有地址，没有表头：已作为第一个标签导入。</source>
        <translation>The first line of “%1” holds an address, so the file has no header: it was imported as the first tag.</translation>
    </message>
    <message>
        <source>文件“%1”中没有标签：导入后标签库将为空。</source>
        <translation>“%1” holds no tags: the library will be empty after the import.</translation>
    </message>

    <message>
        <source>文件“%1”的表头没有“标签名称”列，第一列“%2”是语言的文字，无法确定标签名称，未导入。</source>
        <translation>The header of “%1” has no “Tag name” column and its first column, “%2”, holds a language's texts, so the tag names cannot be told; nothing was imported.</translation>
    </message>
</context>
<context>
    <name>TagLibraryCheck</name>
    <message>
        <source>第%1行的%2</source>
        <translation>Row %1: %2</translation>
    </message>
    <message>
        <source>设备不存在！</source>
        <translation>the device does not exist!</translation>
    </message>
    <message>
        <source>数据类型不正确！</source>
        <translation>the data type is invalid!</translation>
    </message>
    <message>
        <source>数据地址不正确！</source>
        <translation>the address is invalid!</translation>
    </message>
    <message>
        <source>数据长度不正确！</source>
        <translation>the data length is invalid!</translation>
    </message>
    <message>
        <source>第%1行的地址标签格式不正确！</source>
        <translation>Row %1: the address tag name is invalid!</translation>
    </message>
    <message>
        <source>第%1行和第%2行的地址标签名称%3重复！</source>
        <translation>Rows %1 and %2 have the same address tag name %3!</translation>
    </message>
    <message>
        <source>第%1行文本标签为空！</source>
        <translation>The text tag in row %1 has no name!</translation>
    </message>
    <message>
        <source>第%1行和第%2行的文本标签名称重复！</source>
        <translation>The text tags in rows %1 and %2 have the same name!</translation>
    </message>
</context>
<context>
    <name>TagsCommand</name>
    <message>
        <source>tags 需要 export、import 或 usage，用“marovin-cli help tags”查看用法</source>
        <translation>tags needs export, import or usage; see &quot;marovin-cli help tags&quot; for usage</translation>
    </message>
    <message>
        <source>未知的 tags 命令：%1</source>
        <translation>Unknown tags command: %1</translation>
    </message>
    <message>
        <source>tags export 需要项目文件</source>
        <translation>tags export needs a project file</translation>
    </message>
    <message>
        <source>tags import 需要项目文件和标签文件</source>
        <translation>tags import needs a project file and a tag file</translation>
    </message>
    <message>
        <source>多余的参数：%1</source>
        <translation>Unexpected argument: %1</translation>
    </message>
    <message>
        <source>请给出 --address 或 --text 中的一个</source>
        <translation>Give one of --address and --text</translation>
    </message>
    <message>
        <source>tags %1 需要 -o</source>
        <translation>tags %1 needs -o</translation>
    </message>
    <message>
        <source>只能导出为 .xlsx、.csv 或 .txt 文件：%1</source>
        <translation>Tags can only be exported to .xlsx, .csv or .txt files: %1</translation>
    </message>
    <message>
        <source>只能导入 .xlsx、.xls、.csv 或 .txt 文件：%1</source>
        <translation>Tags can only be imported from .xlsx, .xls, .csv or .txt files: %1</translation>
    </message>
    <message>
        <source>警告：%1</source>
        <translation>warning: %1</translation>
    </message>
    <message>
        <source>无法写入 %1：%2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>输出文件 %1 不能是输入文件</source>
        <translation>The output file %1 must not be one of the input files</translation>
    </message>
    <message>
        <source>项目只能另存为 .mvprg 文件：%1</source>
        <translation>The project can only be saved as a .mvprg file: %1</translation>
    </message>
    <message>
        <source>（只列出前 %1 处）</source>
        <translation> (only the first %1 are listed)</translation>
    </message>
    <message>
        <source>%1 中的标签通不过标签库的检查，未写入 %2%3</source>
        <translation>The tags in %1 do not pass the library check; %2 was not written%3</translation>
    </message>
    <message>
        <source>tags usage 需要项目文件</source>
        <translation>tags usage needs a project file</translation>
    </message>
    <message>
        <source>%1：未使用</source>
        <translation>%1: unused</translation>
    </message>
    <message>
        <source>%1：%2（%3）</source>
        <translation>%1: %2 (%3)</translation>
    </message>
    <message>
        <source>地址标签 %1</source>
        <translation>address tag %1</translation>
    </message>
    <message>
        <source>文本标签 %1</source>
        <translation>text tag %1</translation>
    </message>
    <message>
        <source>不存在的地址标签 %1</source>
        <translation>missing address tag %1</translation>
    </message>
    <message>
        <source>不存在的文本标签 %1</source>
        <translation>missing text tag %1</translation>
    </message>
    <message>
        <source>绑定用到 %1 个不存在的地址标签、%2 个不存在的文本标签</source>
        <translation>Missing tags that bindings name: address %1, text %2</translation>
    </message>
    <message>
        <source>%1 个地址标签中 %2 个未使用，%3 个文本标签中 %4 个未使用</source>
        <translation>%2 of %1 address tags unused, %4 of %3 text tags unused</translation>
    </message>
</context>
<context>
    <name>TextLibAddDialog</name>
    <message>
        <source>提醒</source>
        <translation>Reminder</translation>
    </message>
    <message>
        <source>文本标签不能为空！</source>
        <translation>The text tag name cannot be empty!</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>新建文本标签</source>
        <translation>New Text Tag</translation>
    </message>
    <message>
        <source>标签名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>状态数量</source>
        <translation>Number of states</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TextLibDialog</name>
    <message>
        <source>文本标签库</source>
        <translation>Text Library</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>合并</source>
        <translation>Merge</translation>
    </message>
    <message>
        <source>删除全部</source>
        <translation>Remove All</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>标签名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>标签_%1</source>
        <translation>Tag_%1</translation>
    </message>
    <message>
        <source>导入文字库</source>
        <translation>Import Texts</translation>
    </message>
    <message>
        <source>导出文字库</source>
        <translation>Export Texts</translation>
    </message>
    <message>
        <source>从EXCEL导入</source>
        <translation>Import from Excel</translation>
    </message>
    <message>
        <source>导出到EXCEL</source>
        <translation>Export to Excel</translation>
    </message>
    <message>
        <source>导入txt</source>
        <translation>Import txt</translation>
    </message>
    <message>
        <source>csv文件(*.csv;*.txt);;All files(*.*)</source>
        <translation>csv files(*.csv;*.txt);;All files(*.*)</translation>
    </message>
    <message>
        <source>导出txt</source>
        <translation>Export txt</translation>
    </message>
    <message>
        <source>另存为 (*.csv;*.txt)</source>
        <translation>Save as (*.csv;*.txt)</translation>
    </message>
    <message>
        <source>导入Excel</source>
        <translation>Import Excel</translation>
    </message>
    <message>
        <source>表格文件(*.xls;*.xlsx);;All files(*.*)</source>
        <translation>Table files(*.xls;*.xlsx);;All files(*.*)</translation>
    </message>
    <message>
        <source>导出Excel</source>
        <translation>Export Excel</translation>
    </message>
    <message>
        <source>另存为 (*.xlsx)</source>
        <translation>Save as (*.xlsx)</translation>
    </message>
    <message>
        <source>文本标签库保存成功。</source>
        <translation>The text tag library was saved.</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message numerus="yes">
        <source>%n 个对象使用了文本标签“%1”，仍要删除吗？</source>
        <translation>
            <numerusform>%n shape uses the text tag "%1". Remove it anyway?</numerusform>
            <numerusform>%n shapes use the text tag "%1". Remove it anyway?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 个对象使用了要删除的 %1 个文本标签，仍要删除吗？</source>
        <translation>
            <numerusform>%n shape uses the %1 text tags to be removed. Remove them anyway?</numerusform>
            <numerusform>%n shapes use the %1 text tags to be removed. Remove them anyway?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ToolBoxForm</name>
    <message>
        <source>选择</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>旋转</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>连续插入</source>
        <translation>Continuous Insert</translation>
    </message>
    <message>
        <source>列表模式</source>
        <translation>List Mode</translation>
    </message>
    <message>
        <source>图形</source>
        <translation>Shapes</translation>
    </message>
    <message>
        <source>对象</source>
        <translation>Objects</translation>
    </message>
    <message>
        <source>图库</source>
        <translation>Gallery</translation>
    </message>
    <message>
        <source>线条</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>矩形</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>圆角矩形</source>
        <translation>Rounded Rectangle</translation>
    </message>
    <message>
        <source>椭圆</source>
        <translation>Ellipse</translation>
    </message>
    <message>
        <source>多边形</source>
        <translation>Polygon</translation>
    </message>
    <message>
        <source>折线</source>
        <translation>Polyline</translation>
    </message>
    <message>
        <source>曲线</source>
        <translation>Curve</translation>
    </message>
    <message>
        <source>文本</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>图片</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>标签</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>按钮</source>
        <translation>Button</translation>
    </message>
    <message>
        <source>下拉框</source>
        <translation>Combo Box</translation>
    </message>
    <message>
        <source>单选框</source>
        <translation>Radio Button</translation>
    </message>
    <message>
        <source>复选框</source>
        <translation>Check Box</translation>
    </message>
    <message>
        <source>单行文本</source>
        <translation>Single-Line Text</translation>
    </message>
    <message>
        <source>多行文本</source>
        <translation>Multi-Line Text</translation>
    </message>
    <message>
        <source>数值框</source>
        <translation>Spin Box</translation>
    </message>
</context>
<context>
    <name>VerifyPassword</name>
    <message>
        <source>请输入密码(最大错误3次):
	剩余%1次</source>
        <translation>Please enter the password (at most 3 wrong attempts):
	%1 left</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>密码验证失败！</source>
        <translation>Password verification failed!</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>XlsSheetReader</name>
    <message>
        <source>xls工作簿已损坏。</source>
        <translation>The xls workbook is damaged.</translation>
    </message>
    <message>
        <source>xls工作簿的版本过旧，请另存为xlsx文件后再导入。</source>
        <translation>The xls workbook is of a version too old to read; save it as an xlsx file and import that.</translation>
    </message>
    <message>
        <source>文件不是xls工作簿。</source>
        <translation>The file is not an xls workbook.</translation>
    </message>
</context>
<context>
    <name>XlsxSheetReader</name>
    <message>
        <source>无法打开文件“%1”：%2</source>
        <translation>Cannot open the file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>文件“%1”超过256 MB，不予读取。</source>
        <translation>The file &quot;%1&quot; is larger than 256 MB and was not read.</translation>
    </message>
    <message>
        <source>无法读取文件“%1”：%2</source>
        <translation>Cannot read the file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>工作表的范围超过%1个单元格，不予读取。</source>
        <translation>The worksheet spans more than %1 cells and was not read.</translation>
    </message>
    <message>
        <source>工作表中有超过%1个字符的文字，不予读取。</source>
        <translation>The worksheet holds a text longer than %1 characters and was not read.</translation>
    </message>
    <message>
        <source>工作表中的文字共超过%1个字符，不予读取。</source>
        <translation>The texts of the worksheet together exceed %1 characters; it was not read.</translation>
    </message>
    <message>
        <source>工作簿中没有工作表。</source>
        <translation>The workbook has no worksheet.</translation>
    </message>
    <message>
        <source>工作簿中的“%1”解压后超过256 MB，不予读取。</source>
        <translation>&quot;%1&quot; in the workbook unpacks to more than 256 MB and was not read.</translation>
    </message>
    <message>
        <source>工作簿中缺少“%1”。</source>
        <translation>The workbook lacks &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>工作簿中的“%1”已损坏。</source>
        <translation>&quot;%1&quot; in the workbook is damaged.</translation>
    </message>
    <message>
        <source>工作簿中的“%1”含有文档类型声明，不予读取。</source>
        <translation>&quot;%1&quot; in the workbook holds a document type declaration and was not read.</translation>
    </message>
    <message>
        <source>工作簿中的“%1”嵌套过深，不予读取。</source>
        <translation>&quot;%1&quot; in the workbook is nested too deeply and was not read.</translation>
    </message>
    <message>
        <source>工作簿中的“%1”无法解析（第%2行）：%3</source>
        <translation>&quot;%1&quot; in the workbook cannot be parsed (line %2): %3</translation>
    </message>
    <message>
        <source>工作表超过%1行或%2列，不予读取。</source>
        <translation>The worksheet has more than %1 rows or %2 columns and was not read.</translation>
    </message>
    <message>
        <source>工作簿中的“%1”含有无效的行号。</source>
        <translation>&quot;%1&quot; in the workbook holds an invalid row number.</translation>
    </message>
    <message>
        <source>工作簿中的“%1”含有无效的单元格位置“%2”。</source>
        <translation>&quot;%1&quot; in the workbook holds an invalid cell position &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>文件不是xlsx工作簿。</source>
        <translation>The file is not an xlsx workbook.</translation>
    </message>
</context>
<context>
    <name>XlsxSheetWriter</name>
    <message>
        <source>无法写入文件“%1”：%2</source>
        <translation>Cannot write the file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>表格超过%1行或%2列，无法写入xlsx文件。</source>
        <translation>The table has more than %1 rows or %2 columns and cannot be written to an xlsx file.</translation>
    </message>
    <message>
        <source>单元格%1的文字超过%2个字符，无法写入xlsx文件。</source>
        <translation>The text of cell %1 is longer than %2 characters and cannot be written to an xlsx file.</translation>
    </message>
    <message>
        <source>无法创建临时文件夹：%1</source>
        <translation>Cannot create a temporary folder: %1</translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation>Out of memory</translation>
    </message>
    <message>
        <source>无法创建临时文件</source>
        <translation>Cannot create a temporary file</translation>
    </message>
    <message>
        <source>无法写入临时文件</source>
        <translation>Cannot write a temporary file</translation>
    </message>
    <message>
        <source>无法写入xlsx工作簿：%1</source>
        <translation>Cannot write the xlsx workbook: %1</translation>
    </message>
    <message>
        <source>临时文件不完整</source>
        <translation>the temporary file is incomplete</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>创建对象</source>
        <translation>Create object</translation>
    </message>
    <message>
        <source>复制对象</source>
        <translation>Copy object</translation>
    </message>
    <message>
        <source>批量复制对象</source>
        <translation>Copy objects</translation>
    </message>
    <message>
        <source>删除对象</source>
        <translation>Delete objects</translation>
    </message>
    <message>
        <source>移动对象</source>
        <translation>Move object</translation>
    </message>
    <message>
        <source>批量移动对象</source>
        <translation>Move objects</translation>
    </message>
    <message>
        <source>调整对象大小</source>
        <translation>Resize object</translation>
    </message>
    <message>
        <source>旋转对象</source>
        <translation>Rotate object</translation>
    </message>
    <message>
        <source>调整对象形状</source>
        <translation>Reshape object</translation>
    </message>
    <message>
        <source>组合</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>取消组合</source>
        <translation>Ungroup</translation>
    </message>
    <message>
        <source>修改对象%1属性</source>
        <translation>Change %1</translation>
    </message>
    <message>
        <source>修改对象属性</source>
        <translation>Change object properties</translation>
    </message>
    <message>
        <source>修改对象数据</source>
        <translation>Change object data</translation>
    </message>
</context>
<context>
    <name>FindPanel</name>
    <message numerus="yes">
        <source>找到 %n 处“%1”</source>
        <translation>
            <numerusform>%n match of “%1”</numerusform>
            <numerusform>%n matches of “%1”</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 个对象使用了地址标签“%1”</source>
        <translation>
            <numerusform>%n shape uses the address tag "%1"</numerusform>
            <numerusform>%n shapes use the address tag "%1"</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SystemRegister</name>
    <message>
        <source>上电ON</source>
        <translation>On at power-up</translation>
    </message>
    <message>
        <source>上电OFF</source>
        <translation>Off at power-up</translation>
    </message>
    <message>
        <source>首次扫描ON脉冲</source>
        <translation>On pulse at the first scan</translation>
    </message>
    <message>
        <source>首次扫描OFF脉冲</source>
        <translation>Off pulse at the first scan</translation>
    </message>
    <message>
        <source>运行监视（运行时ON）</source>
        <translation>Run monitor (on while running)</translation>
    </message>
    <message>
        <source>运行监视（运行时OFF）</source>
        <translation>Run monitor (off while running)</translation>
    </message>
    <message>
        <source>扫描超时标志</source>
        <translation>Scan timeout flag</translation>
    </message>
    <message>
        <source>电池电压低标志</source>
        <translation>Low battery flag</translation>
    </message>
    <message>
        <source>程序校验错误</source>
        <translation>Program checksum error</translation>
    </message>
    <message>
        <source>看门狗复位标志</source>
        <translation>Watchdog reset flag</translation>
    </message>
    <message>
        <source>%1ms 时钟脉冲， %2ms On / %3ms Off</source>
        <translation>%1 ms clock pulse, %2 ms on / %3 ms off</translation>
    </message>
    <message>
        <source>%1s 时钟脉冲， %2.%3s On / %4.%5s Off</source>
        <translation>%1 s clock pulse, %2.%3 s on / %4.%5 s off</translation>
    </message>
    <message>
        <source>%1s 时钟脉冲， %2s On / %3s Off</source>
        <translation>%1 s clock pulse, %2 s on / %3 s off</translation>
    </message>
    <message>
        <source>%1min 时钟脉冲， %2s On / %3s Off</source>
        <translation>%1 min clock pulse, %2 s on / %3 s off</translation>
    </message>
    <message>
        <source>扫描周期交替脉冲</source>
        <translation>Alternating pulse each scan</translation>
    </message>
    <message>
        <source>停止时禁止全部输出Y</source>
        <translation>Turn off all Y outputs when stopped</translation>
    </message>
    <message>
        <source>禁止全部中断</source>
        <translation>Disable all interrupts</translation>
    </message>
    <message>
        <source>恒定扫描模式</source>
        <translation>Constant scan mode</translation>
    </message>
    <message>
        <source>零标志</source>
        <translation>Zero flag</translation>
    </message>
    <message>
        <source>借位标志</source>
        <translation>Borrow flag</translation>
    </message>
    <message>
        <source>进位标志</source>
        <translation>Carry flag</translation>
    </message>
    <message>
        <source>溢出标志</source>
        <translation>Overflow flag</translation>
    </message>
    <message>
        <source>除数为零错误</source>
        <translation>Division by zero</translation>
    </message>
    <message>
        <source>运算结果为负</source>
        <translation>Negative result</translation>
    </message>
    <message>
        <source>浮点运算精度丢失</source>
        <translation>Floating-point precision lost</translation>
    </message>
    <message>
        <source>BCD 转换错误</source>
        <translation>BCD conversion error</translation>
    </message>
    <message>
        <source>数据超出范围</source>
        <translation>Data out of range</translation>
    </message>
    <message>
        <source>指令执行完成</source>
        <translation>Instruction done</translation>
    </message>
    <message>
        <source>指令执行错误</source>
        <translation>Instruction error</translation>
    </message>
    <message>
        <source>循环次数溢出</source>
        <translation>Loop count overflow</translation>
    </message>
    <message>
        <source>移位溢出</source>
        <translation>Shift overflow</translation>
    </message>
    <message>
        <source>搜索结果未找到</source>
        <translation>Search found nothing</translation>
    </message>
    <message>
        <source>排序完成</source>
        <translation>Sort done</translation>
    </message>
    <message>
        <source>表格处理完成</source>
        <translation>Table operation done</translation>
    </message>
    <message>
        <source>禁止步进状态转移</source>
        <translation>Disable step transitions</translation>
    </message>
    <message>
        <source>步进状态转移开始</source>
        <translation>Step transition start</translation>
    </message>
    <message>
        <source>暂停运行请求</source>
        <translation>Pause request</translation>
    </message>
    <message>
        <source>单步执行模式</source>
        <translation>Single-step mode</translation>
    </message>
    <message>
        <source>允许运行中修改程序</source>
        <translation>Allow program changes while running</translation>
    </message>
    <message>
        <source>程序写保护</source>
        <translation>Program write protection</translation>
    </message>
    <message>
        <source>步进状态动作中</source>
        <translation>Step active</translation>
    </message>
    <message>
        <source>步进状态监控有效</source>
        <translation>Step monitoring on</translation>
    </message>
    <message>
        <source>报警器动作中</source>
        <translation>Annunciator active</translation>
    </message>
    <message>
        <source>报警器监控有效</source>
        <translation>Annunciator monitoring on</translation>
    </message>
    <message>
        <source>停止时保持输出</source>
        <translation>Keep outputs when stopped</translation>
    </message>
    <message>
        <source>COM%1 发送请求</source>
        <translation>COM%1 send request</translation>
    </message>
    <message>
        <source>COM%1 发送中</source>
        <translation>COM%1 sending</translation>
    </message>
    <message>
        <source>COM%1 发送完成</source>
        <translation>COM%1 send done</translation>
    </message>
    <message>
        <source>COM%1 接收中</source>
        <translation>COM%1 receiving</translation>
    </message>
    <message>
        <source>COM%1 接收完成</source>
        <translation>COM%1 receive done</translation>
    </message>
    <message>
        <source>COM%1 接收超时</source>
        <translation>COM%1 receive timeout</translation>
    </message>
    <message>
        <source>COM%1 校验错误</source>
        <translation>COM%1 parity error</translation>
    </message>
    <message>
        <source>COM%1 帧格式错误</source>
        <translation>COM%1 framing error</translation>
    </message>
    <message>
        <source>COM%1 接收缓冲区溢出</source>
        <translation>COM%1 receive buffer overflow</translation>
    </message>
    <message>
        <source>COM%1 通讯错误</source>
        <translation>COM%1 communication error</translation>
    </message>
    <message>
        <source>COM%1 从站无响应</source>
        <translation>COM%1 no answer from slave</translation>
    </message>
    <message>
        <source>COM%1 主站模式</source>
        <translation>COM%1 master mode</translation>
    </message>
    <message>
        <source>COM%1 自由口模式</source>
        <translation>COM%1 free-port mode</translation>
    </message>
    <message>
        <source>COM%1 接收结束符有效</source>
        <translation>COM%1 end character on</translation>
    </message>
    <message>
        <source>COM%1 %2位数据模式</source>
        <translation>COM%1 %2-bit data mode</translation>
    </message>
    <message>
        <source>COM%1 清除错误计数</source>
        <translation>COM%1 clear error count</translation>
    </message>
    <message>
        <source>Modbus 主站请求 %1 完成</source>
        <translation>Modbus master request %1 done</translation>
    </message>
    <message>
        <source>Modbus 主站请求 %1 错误</source>
        <translation>Modbus master request %1 error</translation>
    </message>
    <message>
        <source>HSC%1 计数方向设定（On 减计数）</source>
        <translation>HSC%1 count direction (on: down)</translation>
    </message>
    <message>
        <source>HSC%1 计数方向监视</source>
        <translation>HSC%1 count direction monitor</translation>
    </message>
    <message>
        <source>HSC%1 计数启动</source>
        <translation>HSC%1 count start</translation>
    </message>
    <message>
        <source>HSC%1 计数复位</source>
        <translation>HSC%1 count reset</translation>
    </message>
    <message>
        <source>HSC%1 比较值到达</source>
        <translation>HSC%1 compare value reached</translation>
    </message>
    <message>
        <source>禁止外部中断 X%1</source>
        <translation>Disable external interrupt X%1</translation>
    </message>
    <message>
        <source>禁止定时中断 %1</source>
        <translation>Disable timer interrupt %1</translation>
    </message>
    <message>
        <source>禁止高速计数中断 HSC%1</source>
        <translation>Disable high-speed counter interrupt HSC%1</translation>
    </message>
    <message>
        <source>Y%1 脉冲输出中</source>
        <translation>Y%1 pulse output running</translation>
    </message>
    <message>
        <source>Y%1 脉冲输出停止</source>
        <translation>Y%1 pulse output stop</translation>
    </message>
    <message>
        <source>Y%1 定位完成</source>
        <translation>Y%1 positioning done</translation>
    </message>
    <message>
        <source>Y%1 方向信号</source>
        <translation>Y%1 direction signal</translation>
    </message>
    <message>
        <source>Y%1 原点回归中</source>
        <translation>Y%1 homing</translation>
    </message>
    <message>
        <source>Y%1 定位错误</source>
        <translation>Y%1 positioning error</translation>
    </message>
    <message>
        <source>Y%1 正向限位</source>
        <translation>Y%1 forward limit</translation>
    </message>
    <message>
        <source>Y%1 反向限位</source>
        <translation>Y%1 reverse limit</translation>
    </message>
    <message>
        <source>PID%1 自整定启动</source>
        <translation>PID%1 autotune start</translation>
    </message>
    <message>
        <source>PID%1 自整定完成</source>
        <translation>PID%1 autotune done</translation>
    </message>
    <message>
        <source>系统错误总标志</source>
        <translation>System error flag</translation>
    </message>
    <message>
        <source>程序语法错误</source>
        <translation>Program syntax error</translation>
    </message>
    <message>
        <source>程序回路错误</source>
        <translation>Program circuit error</translation>
    </message>
    <message>
        <source>指令操作数错误</source>
        <translation>Instruction operand error</translation>
    </message>
    <message>
        <source>运算错误</source>
        <translation>Arithmetic error</translation>
    </message>
    <message>
        <source>堆栈溢出</source>
        <translation>Stack overflow</translation>
    </message>
    <message>
        <source>存储器写入错误</source>
        <translation>Memory write error</translation>
    </message>
    <message>
        <source>存储器校验错误</source>
        <translation>Memory checksum error</translation>
    </message>
    <message>
        <source>I/O 配置错误</source>
        <translation>I/O configuration error</translation>
    </message>
    <message>
        <source>扩展模块通讯错误</source>
        <translation>Expansion module communication error</translation>
    </message>
    <message>
        <source>扩展模块数量超限</source>
        <translation>Too many expansion modules</translation>
    </message>
    <message>
        <source>看门狗超时</source>
        <translation>Watchdog timeout</translation>
    </message>
    <message>
        <source>电源异常</source>
        <translation>Power supply fault</translation>
    </message>
    <message>
        <source>时钟芯片错误</source>
        <translation>Clock chip error</translation>
    </message>
    <message>
        <source>Flash 写入失败</source>
        <translation>Flash write failed</translation>
    </message>
    <message>
        <source>Flash 擦除失败</source>
        <translation>Flash erase failed</translation>
    </message>
    <message>
        <source>定时器编号越界</source>
        <translation>Timer number out of range</translation>
    </message>
    <message>
        <source>计数器编号越界</source>
        <translation>Counter number out of range</translation>
    </message>
    <message>
        <source>间接寻址越界</source>
        <translation>Indirect address out of range</translation>
    </message>
    <message>
        <source>清除错误标志</source>
        <translation>Clear error flags</translation>
    </message>
    <message>
        <source>扩展模块 %1 在线</source>
        <translation>Expansion module %1 online</translation>
    </message>
    <message>
        <source>扩展模块 %1 故障</source>
        <translation>Expansion module %1 fault</translation>
    </message>
    <message>
        <source>实时时钟读取请求</source>
        <translation>Real-time clock read request</translation>
    </message>
    <message>
        <source>实时时钟写入请求</source>
        <translation>Real-time clock write request</translation>
    </message>
    <message>
        <source>实时时钟±%1秒校正</source>
        <translation>Real-time clock ±%1 s adjustment</translation>
    </message>
    <message>
        <source>实时时钟停止</source>
        <translation>Real-time clock stopped</translation>
    </message>
    <message>
        <source>实时时钟错误</source>
        <translation>Real-time clock error</translation>
    </message>
    <message>
        <source>实时时钟写入完成</source>
        <translation>Real-time clock write done</translation>
    </message>
    <message>
        <source>年份按%1位显示</source>
        <translation>Show the year with %1 digits</translation>
    </message>
    <message>
        <source>夏令时开启</source>
        <translation>Daylight saving time on</translation>
    </message>
    <message>
        <source>实时时钟数据有效</source>
        <translation>Real-time clock data valid</translation>
    </message>
    <message>
        <source>整点脉冲</source>
        <translation>On-the-hour pulse</translation>
    </message>
    <message>
        <source>模拟量输入通道 %1 断线</source>
        <translation>Analog input channel %1 wire break</translation>
    </message>
    <message>
        <source>模拟量输入通道 %1 超量程</source>
        <translation>Analog input channel %1 over range</translation>
    </message>
    <message>
        <source>背光常亮</source>
        <translation>Backlight always on</translation>
    </message>
    <message>
        <source>背光关闭请求</source>
        <translation>Backlight off request</translation>
    </message>
    <message>
        <source>屏幕保护中</source>
        <translation>Screen saver active</translation>
    </message>
    <message>
        <source>触摸屏按下</source>
        <translation>Touch screen pressed</translation>
    </message>
    <message>
        <source>触摸屏校准请求</source>
        <translation>Touch calibration request</translation>
    </message>
    <message>
        <source>蜂鸣器开启</source>
        <translation>Buzzer on</translation>
    </message>
    <message>
        <source>按键提示音开启</source>
        <translation>Key click on</translation>
    </message>
    <message>
        <source>画面切换完成</source>
        <translation>Screen change done</translation>
    </message>
    <message>
        <source>画面切换请求</source>
        <translation>Screen change request</translation>
    </message>
    <message>
        <source>报警弹窗显示中</source>
        <translation>Alarm window showing</translation>
    </message>
    <message>
        <source>禁止触摸</source>
        <translation>Touch disabled</translation>
    </message>
    <message>
        <source>背光亮度自动调节</source>
        <translation>Automatic backlight brightness</translation>
    </message>
    <message>
        <source>显示方向垂直</source>
        <translation>Vertical display</translation>
    </message>
    <message>
        <source>HMI 启动完成</source>
        <translation>HMI start-up done</translation>
    </message>
    <message>
        <source>HMI 工程下载中</source>
        <translation>HMI downloading project</translation>
    </message>
    <message>
        <source>HMI 重启请求</source>
        <translation>HMI restart request</translation>
    </message>
    <message>
        <source>spi-flash 读请求</source>
        <translation>spi-flash read request</translation>
    </message>
    <message>
        <source>spi-flash 写请求</source>
        <translation>spi-flash write request</translation>
    </message>
    <message>
        <source>spi-flash 擦除请求</source>
        <translation>spi-flash erase request</translation>
    </message>
    <message>
        <source>spi-flash 操作中</source>
        <translation>spi-flash busy</translation>
    </message>
    <message>
        <source>spi-flash 操作完成</source>
        <translation>spi-flash done</translation>
    </message>
    <message>
        <source>spi-flash 操作错误</source>
        <translation>spi-flash error</translation>
    </message>
    <message>
        <source>spi-flash 写保护</source>
        <translation>spi-flash write protection</translation>
    </message>
    <message>
        <source>掉电保持数据保存请求</source>
        <translation>Save retained data request</translation>
    </message>
    <message>
        <source>HMI 通讯连接正常</source>
        <translation>HMI connection good</translation>
    </message>
    <message>
        <source>HMI 数据刷新完成</source>
        <translation>HMI data refresh done</translation>
    </message>
    <message>
        <source>HMI 配方下载请求</source>
        <translation>HMI recipe download request</translation>
    </message>
    <message>
        <source>HMI 配方上传请求</source>
        <translation>HMI recipe upload request</translation>
    </message>
    <message>
        <source>HMI 报警确认</source>
        <translation>HMI alarm acknowledge</translation>
    </message>
    <message>
        <source>HMI 历史数据保存请求</source>
        <translation>HMI save history request</translation>
    </message>
    <message>
        <source>HMI 占用串口%1</source>
        <translation>HMI holds serial port %1</translation>
    </message>
    <message>
        <source>HMI 释放串口请求</source>
        <translation>HMI release serial port request</translation>
    </message>
    <message>
        <source>HMI自动接管串口%1</source>
        <translation>HMI takes over serial port %1 automatically</translation>
    </message>
    <message>
        <source>扫描时间看门狗设定值（%1ms），超时即停机</source>
        <translation>Scan time watchdog (%1 ms); stops when exceeded</translation>
    </message>
    <message>
        <source>固件版本号</source>
        <translation>Firmware version</translation>
    </message>
    <message>
        <source>程序容量（步）</source>
        <translation>Program size (steps)</translation>
    </message>
    <message>
        <source>程序校验和</source>
        <translation>Program checksum</translation>
    </message>
    <message>
        <source>当前错误代码</source>
        <translation>Current error code</translation>
    </message>
    <message>
        <source>错误发生步号</source>
        <translation>Step of the error</translation>
    </message>
    <message>
        <source>电源电压（%1.%2V）</source>
        <translation>Supply voltage (%1.%2 V)</translation>
    </message>
    <message>
        <source>电池电压（%1.%2V）</source>
        <translation>Battery voltage (%1.%2 V)</translation>
    </message>
    <message>
        <source>CPU 温度（℃）</source>
        <translation>CPU temperature (°C)</translation>
    </message>
    <message>
        <source>上电次数</source>
        <translation>Power-up count</translation>
    </message>
    <message>
        <source>当前扫描时间（%1.%2ms）</source>
        <translation>Current scan time (%1.%2 ms)</translation>
    </message>
    <message>
        <source>最小扫描时间（%1.%2ms）</source>
        <translation>Shortest scan time (%1.%2 ms)</translation>
    </message>
    <message>
        <source>最大扫描时间（%1.%2ms）</source>
        <translation>Longest scan time (%1.%2 ms)</translation>
    </message>
    <message>
        <source>恒定扫描时间设定（%1ms）</source>
        <translation>Constant scan time (%1 ms)</translation>
    </message>
    <message>
        <source>运行模式（%1 停止 %2 运行）</source>
        <translation>Run mode (%1 stop, %2 run)</translation>
    </message>
    <message>
        <source>掉电保持起始地址</source>
        <translation>Retained area start address</translation>
    </message>
    <message>
        <source>掉电保持结束地址</source>
        <translation>Retained area end address</translation>
    </message>
    <message>
        <source>步进状态最小动作号</source>
        <translation>Lowest active step number</translation>
    </message>
    <message>
        <source>报警器最小动作号</source>
        <translation>Lowest active annunciator number</translation>
    </message>
    <message>
        <source>X%1 输入滤波时间（%2ms）</source>
        <translation>X%1 input filter time (%2 ms)</translation>
    </message>
    <message>
        <source>错误代码记录 %1</source>
        <translation>Error code record %1</translation>
    </message>
    <message>
        <source>错误步号记录 %1</source>
        <translation>Error step record %1</translation>
    </message>
    <message>
        <source>变址寄存器 V%1</source>
        <translation>Index register V%1</translation>
    </message>
    <message>
        <source>变址寄存器 Z%1</source>
        <translation>Index register Z%1</translation>
    </message>
    <message>
        <source>COM%1 通讯格式 （%2x%3 %4N%5-E）</source>
        <translation>COM%1 frame format (%2x%3 %4N%5-E)</translation>
    </message>
    <message>
        <source>COM%1 超时时间（%2ms）</source>
        <translation>COM%1 timeout (%2 ms)</translation>
    </message>
    <message>
        <source>COM%1 从站地址</source>
        <translation>COM%1 slave address</translation>
    </message>
    <message>
        <source>COM%1 通讯协议（%2 从站 %3 主站 %4 自由口）</source>
        <translation>COM%1 protocol (%2 slave, %3 master, %4 free port)</translation>
    </message>
    <message>
        <source>COM%1 重试次数</source>
        <translation>COM%1 retries</translation>
    </message>
    <message>
        <source>COM%1 发送延时（%2ms）</source>
        <translation>COM%1 send delay (%2 ms)</translation>
    </message>
    <message>
        <source>COM%1 字符间隔时间（%2ms）</source>
        <translation>COM%1 character gap (%2 ms)</translation>
    </message>
    <message>
        <source>COM%1 自由口起始字符</source>
        <translation>COM%1 free-port start character</translation>
    </message>
    <message>
        <source>COM%1 自由口结束字符</source>
        <translation>COM%1 free-port end character</translation>
    </message>
    <message>
        <source>COM%1 接收字节数上限</source>
        <translation>COM%1 receive byte limit</translation>
    </message>
    <message>
        <source>COM%1 当前接收字节数</source>
        <translation>COM%1 bytes received</translation>
    </message>
    <message>
        <source>COM%1 已发送字节数</source>
        <translation>COM%1 bytes sent</translation>
    </message>
    <message>
        <source>COM%1 错误代码</source>
        <translation>COM%1 error code</translation>
    </message>
    <message>
        <source>COM%1 错误次数</source>
        <translation>COM%1 error count</translation>
    </message>
    <message>
        <source>COM%1 累计错误次数</source>
        <translation>COM%1 total error count</translation>
    </message>
    <message>
        <source>COM%1 发送缓冲区起始地址</source>
        <translation>COM%1 send buffer start address</translation>
    </message>
    <message>
        <source>COM%1 接收缓冲区起始地址</source>
        <translation>COM%1 receive buffer start address</translation>
    </message>
    <message>
        <source>COM%1 通讯状态</source>
        <translation>COM%1 communication status</translation>
    </message>
    <message>
        <source>COM%1 最近一次通讯耗时（%2ms）</source>
        <translation>COM%1 last exchange time (%2 ms)</translation>
    </message>
    <message>
        <source>COM%1 波特率（×%2）</source>
        <translation>COM%1 baud rate (×%2)</translation>
    </message>
    <message>
        <source>Modbus 主站请求 %1 错误代码</source>
        <translation>Modbus master request %1 error code</translation>
    </message>
    <message>
        <source>Modbus 主站请求 %1 响应时间（%2ms）</source>
        <translation>Modbus master request %1 response time (%2 ms)</translation>
    </message>
    <message>
        <source>HSC%1 当前值（低字）</source>
        <translation>HSC%1 current value (low word)</translation>
    </message>
    <message>
        <source>HSC%1 当前值（高字）</source>
        <translation>HSC%1 current value (high word)</translation>
    </message>
    <message>
        <source>HSC%1 设定值（低字）</source>
        <translation>HSC%1 set value (low word)</translation>
    </message>
    <message>
        <source>HSC%1 设定值（高字）</source>
        <translation>HSC%1 set value (high word)</translation>
    </message>
    <message>
        <source>HSC%1 预置值（低字）</source>
        <translation>HSC%1 preset value (low word)</translation>
    </message>
    <message>
        <source>HSC%1 预置值（高字）</source>
        <translation>HSC%1 preset value (high word)</translation>
    </message>
    <message>
        <source>HSC%1 计数模式</source>
        <translation>HSC%1 count mode</translation>
    </message>
    <message>
        <source>HSC%1 频率测量值（Hz）</source>
        <translation>HSC%1 measured frequency (Hz)</translation>
    </message>
    <message>
        <source>定时中断 %1 周期（%2ms）</source>
        <translation>Timer interrupt %1 period (%2 ms)</translation>
    </message>
    <message>
        <source>外部中断 X%1 触发方式（%2 上升沿 %3 下降沿）</source>
        <translation>External interrupt X%1 trigger (%2 rising edge, %3 falling edge)</translation>
    </message>
    <message>
        <source>Y%1 当前位置（低字）</source>
        <translation>Y%1 current position (low word)</translation>
    </message>
    <message>
        <source>Y%1 当前位置（高字）</source>
        <translation>Y%1 current position (high word)</translation>
    </message>
    <message>
        <source>Y%1 当前输出频率（低字）</source>
        <translation>Y%1 current output frequency (low word)</translation>
    </message>
    <message>
        <source>Y%1 当前输出频率（高字）</source>
        <translation>Y%1 current output frequency (high word)</translation>
    </message>
    <message>
        <source>Y%1 最高频率（低字）</source>
        <translation>Y%1 maximum frequency (low word)</translation>
    </message>
    <message>
        <source>Y%1 最高频率（高字）</source>
        <translation>Y%1 maximum frequency (high word)</translation>
    </message>
    <message>
        <source>Y%1 起始频率（Hz）</source>
        <translation>Y%1 start frequency (Hz)</translation>
    </message>
    <message>
        <source>Y%1 加速时间（%2ms）</source>
        <translation>Y%1 acceleration time (%2 ms)</translation>
    </message>
    <message>
        <source>Y%1 减速时间（%2ms）</source>
        <translation>Y%1 deceleration time (%2 ms)</translation>
    </message>
    <message>
        <source>Y%1 原点回归速度（Hz）</source>
        <translation>Y%1 homing speed (Hz)</translation>
    </message>
    <message>
        <source>Y%1 原点回归爬行速度（Hz）</source>
        <translation>Y%1 homing creep speed (Hz)</translation>
    </message>
    <message>
        <source>Y%1 原点偏移量（低字）</source>
        <translation>Y%1 home offset (low word)</translation>
    </message>
    <message>
        <source>Y%1 原点偏移量（高字）</source>
        <translation>Y%1 home offset (high word)</translation>
    </message>
    <message>
        <source>Y%1 脉冲输出模式</source>
        <translation>Y%1 pulse output mode</translation>
    </message>
    <message>
        <source>Y%1 定位错误代码</source>
        <translation>Y%1 positioning error code</translation>
    </message>
    <message>
        <source>Y%1 剩余脉冲数</source>
        <translation>Y%1 pulses left</translation>
    </message>
    <message>
        <source>PID%1 设定值 SV</source>
        <translation>PID%1 set value SV</translation>
    </message>
    <message>
        <source>PID%1 测量值 PV</source>
        <translation>PID%1 process value PV</translation>
    </message>
    <message>
        <source>PID%1 输出值 MV</source>
        <translation>PID%1 output value MV</translation>
    </message>
    <message>
        <source>PID%1 比例增益 Kp</source>
        <translation>PID%1 proportional gain Kp</translation>
    </message>
    <message>
        <source>PID%1 积分时间 Ti（%2.%3s）</source>
        <translation>PID%1 integral time Ti (%2.%3 s)</translation>
    </message>
    <message>
        <source>PID%1 微分时间 Td（%2.%3s）</source>
        <translation>PID%1 derivative time Td (%2.%3 s)</translation>
    </message>
    <message>
        <source>PID%1 采样周期（%2ms）</source>
        <translation>PID%1 sampling period (%2 ms)</translation>
    </message>
    <message>
        <source>PID%1 输出上限</source>
        <translation>PID%1 output upper limit</translation>
    </message>
    <message>
        <source>实时时钟 年（%1-%2）</source>
        <translation>Real-time clock year (%1-%2)</translation>
    </message>
    <message>
        <source>实时时钟 月（%1-%2）</source>
        <translation>Real-time clock month (%1-%2)</translation>
    </message>
    <message>
        <source>实时时钟 日（%1-%2）</source>
        <translation>Real-time clock day (%1-%2)</translation>
    </message>
    <message>
        <source>实时时钟 时（%1-%2）</source>
        <translation>Real-time clock hour (%1-%2)</translation>
    </message>
    <message>
        <source>实时时钟 分（%1-%2）</source>
        <translation>Real-time clock minute (%1-%2)</translation>
    </message>
    <message>
        <source>实时时钟 秒（%1-%2）</source>
        <translation>Real-time clock second (%1-%2)</translation>
    </message>
    <message>
        <source>实时时钟 星期（%1 星期日）</source>
        <translation>Real-time clock weekday (%1: Sunday)</translation>
    </message>
    <message>
        <source>实时时钟校正值（秒）</source>
        <translation>Real-time clock adjustment (s)</translation>
    </message>
    <message>
        <source>时区（相对 UTC 的小时数）</source>
        <translation>Time zone (hours from UTC)</translation>
    </message>
    <message>
        <source>夏令时偏移（分钟）</source>
        <translation>Daylight saving offset (minutes)</translation>
    </message>
    <message>
        <source>模拟量输入通道 %1 数值</source>
        <translation>Analog input channel %1 value</translation>
    </message>
    <message>
        <source>模拟量输入通道 %1 滤波常数</source>
        <translation>Analog input channel %1 filter constant</translation>
    </message>
    <message>
        <source>模拟量输出通道 %1 数值</source>
        <translation>Analog output channel %1 value</translation>
    </message>
    <message>
        <source>扩展模块 %1 型号代码</source>
        <translation>Expansion module %1 model code</translation>
    </message>
    <message>
        <source>扩展模块 %1 错误代码</source>
        <translation>Expansion module %1 error code</translation>
    </message>
    <message>
        <source>当前画面编号</source>
        <translation>Current screen number</translation>
    </message>
    <message>
        <source>起始画面编号</source>
        <translation>Start screen number</translation>
    </message>
    <message>
        <source>屏幕背光亮度</source>
        <translation>Screen backlight brightness</translation>
    </message>
    <message>
        <source>背光关闭时间（s，%1 不关闭）</source>
        <translation>Backlight off time (s, %1: never)</translation>
    </message>
    <message>
        <source>屏幕保护时间（s，%1 不启用）</source>
        <translation>Screen saver time (s, %1: off)</translation>
    </message>
    <message>
        <source>蜂鸣器音量</source>
        <translation>Buzzer volume</translation>
    </message>
    <message>
        <source>触摸 X 坐标</source>
        <translation>Touch X coordinate</translation>
    </message>
    <message>
        <source>触摸 Y 坐标</source>
        <translation>Touch Y coordinate</translation>
    </message>
    <message>
        <source>当前语言编号</source>
        <translation>Current language number</translation>
    </message>
    <message>
        <source>当前用户权限等级</source>
        <translation>Current user level</translation>
    </message>
    <message>
        <source>画面切换请求编号</source>
        <translation>Requested screen number</translation>
    </message>
    <message>
        <source>当前报警数量</source>
        <translation>Active alarm count</translation>
    </message>
    <message>
        <source>画面刷新周期（%1ms）</source>
        <translation>Screen refresh period (%1 ms)</translation>
    </message>
    <message>
        <source>HMI 通讯端口选择</source>
        <translation>HMI communication port</translation>
    </message>
    <message>
        <source>HMI 通讯超时（%1ms）</source>
        <translation>HMI communication timeout (%1 ms)</translation>
    </message>
    <message>
        <source>HMI 固件版本号</source>
        <translation>HMI firmware version</translation>
    </message>
    <message>
        <source>HMI 数据交换区 %1</source>
        <translation>HMI data exchange area %1</translation>
    </message>
    <message>
        <source>spi-flash 数据缓冲区 %1</source>
        <translation>spi-flash data buffer %1</translation>
    </message>
    <message>
        <source>spi-flash 操作命令（%1 读 %2 写 %3 擦除）</source>
        <translation>spi-flash command (%1 read, %2 write, %3 erase)</translation>
    </message>
    <message>
        <source>spi-flash 地址（低字）</source>
        <translation>spi-flash address (low word)</translation>
    </message>
    <message>
        <source>spi-flash 地址（高字）</source>
        <translation>spi-flash address (high word)</translation>
    </message>
    <message>
        <source>读取spi-flash长度 %1-%2</source>
        <translation>spi-flash read length %1-%2</translation>
    </message>
</context>
<context>
    <name>ProjectController</name>
    <message>
        <source>工程</source>
        <translation>Project</translation>
    </message>
    <message>
        <source>项目密码验证</source>
        <translation>Project Password Verification</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>是否将改动保存到 %1 工程?</source>
        <translation>Save changes to the project %1?</translation>
    </message>
    <message>
        <source>是(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>否(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>读取文件失败 %1。
%2.</source>
        <translation>Failed to read file %1.
%2.</translation>
    </message>
    <message>
        <source>打开工程文件</source>
        <translation>Open Project File</translation>
    </message>
    <message>
        <source>工程文件(*%1);;All files(*.*)</source>
        <translation>Marovin Project Files(*%1);;All files(*.*)</translation>
    </message>
    <message>
        <source>工程另存为</source>
        <translation>Save Project As</translation>
    </message>
    <message>
        <source>保存为 (*%1)</source>
        <translation>Save As (*%1)</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>工程文件 %1 已损坏，只能读取其中一部分。
%2</source>
        <translation>The project file %1 is damaged; only part of it can be read.
%2</translation>
    </message>
    <message>
        <source>是否打开能够读取的部分？</source>
        <translation>Open the part that can be read?</translation>
    </message>
    <message>
        <source>工程文件 %1 含有本版本不认识的元素：%2。这些元素不会显示，但保存时会原样保留。</source>
        <translation>The project file %1 contains elements this version does not know: %2. They are not shown, but they are saved back unchanged.</translation>
    </message>
    <message>
        <source>工程文件 %1 含有本版本不认识的属性：%2。这些属性不会显示，但保存时会原样保留。</source>
        <translation>The project file %1 contains attributes this version does not know: %2. They are not shown, but they are saved back unchanged.</translation>
    </message>
    <message>
        <source>发现自动保存的恢复文件（%1）。是否恢复？
选择“否”将删除该恢复文件。</source>
        <translation>Found an autosaved recovery file (%1). Recover it?
Choosing “No” deletes the recovery file.</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>工程文件 %1 含有超出范围或不是数字的数值，已改为最接近的有效值或默认值：
%2</source>
        <translation>The project file %1 contains numbers out of range or not numbers at all; each was replaced by the nearest valid value or the default:
%2</translation>
    </message>
    <message>
        <source>工程文件 %1 含有超出范围的数值，已改为最接近的有效值：%2。</source>
        <translation>The project file %1 contains numbers out of range; each was replaced by the nearest valid value: %2.</translation>
    </message>
    <message>
        <source>图片复制失败，工程没有保存：%1</source>
        <translation>Copying the pictures failed; the project was not saved: %1</translation>
    </message>
    <message>
        <source>目标文件夹中已有同名但内容不同的图片，工程没有保存（请换一个文件夹）：
%1</source>
        <translation>The target folder already holds other pictures under the same names; the project was not saved (choose another folder):
%1</translation>
    </message>
</context>
<context>
    <name>BuiltinTables</name>
    <message>
        <source>基本</source>
        <translation>Base</translation>
    </message>
    <message>
        <source>边框</source>
        <translation>Border</translation>
    </message>
    <message>
        <source>填充</source>
        <translation>Brush</translation>
    </message>
    <message>
        <source>文本</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>实线</source>
        <translation>Solid Line</translation>
    </message>
    <message>
        <source>虚线</source>
        <translation>Dash Line</translation>
    </message>
    <message>
        <source>点线</source>
        <translation>Dot Line</translation>
    </message>
    <message>
        <source>点划线</source>
        <translation>Dash Dot Line</translation>
    </message>
    <message>
        <source>双点划线</source>
        <translation>Dash Dot Dot Line</translation>
    </message>
    <message>
        <source>扇形</source>
        <translation>Pie</translation>
    </message>
    <message>
        <source>圆弧</source>
        <translation>Arc</translation>
    </message>
    <message>
        <source>弦</source>
        <translation>Chord</translation>
    </message>
    <message>
        <source>偶校验</source>
        <translation>Even</translation>
    </message>
    <message>
        <source>奇校验</source>
        <translation>Odd</translation>
    </message>
    <message>
        <source>年</source>
        <translation>Year</translation>
    </message>
    <message>
        <source>月</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>日</source>
        <translation>Day</translation>
    </message>
    <message>
        <source>时</source>
        <translation>Hour</translation>
    </message>
    <message>
        <source>分</source>
        <translation>Minute</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>Second</translation>
    </message>
    <message>
        <source>星期</source>
        <translation>Weekday</translation>
    </message>
    <message>
        <source>当前页面Id</source>
        <translation>Current Screen ID</translation>
    </message>
    <message>
        <source>起始页面Id</source>
        <translation>Start Screen ID</translation>
    </message>
    <message>
        <source>触摸屏X位置</source>
        <translation>Touch X Position</translation>
    </message>
    <message>
        <source>触摸屏Y位置</source>
        <translation>Touch Y Position</translation>
    </message>
    <message>
        <source>当前用户名</source>
        <translation>Current User Name</translation>
    </message>
    <message>
        <source>当前用户组</source>
        <translation>Current User Group</translation>
    </message>
    <message>
        <source>当前用户权限级别</source>
        <translation>Current User Authority Level</translation>
    </message>
    <message>
        <source>当前语言</source>
        <translation>Current Language</translation>
    </message>
    <message>
        <source>内存使用率</source>
        <translation>Memory Usage</translation>
    </message>
    <message>
        <source>CPU使用率</source>
        <translation>CPU Usage</translation>
    </message>
    <message>
        <source>背光亮度</source>
        <translation>Backlight Brightness</translation>
    </message>
    <message>
        <source>关闭背光时间</source>
        <translation>Backlight Off Time</translation>
    </message>
    <message>
        <source>进入屏保时间</source>
        <translation>Screen Saver Time</translation>
    </message>
    <message>
        <source>开机运行时间</source>
        <translation>Run Time Since Power-On</translation>
    </message>
    <message>
        <source>系统版本</source>
        <translation>OS Version</translation>
    </message>
    <message>
        <source>应用版本</source>
        <translation>App Version</translation>
    </message>
    <message>
        <source>SIM状态</source>
        <translation>SIM Status</translation>
    </message>
    <message>
        <source>SIM信号强度</source>
        <translation>SIM Signal Strength</translation>
    </message>
    <message>
        <source>系统时间</source>
        <translation>System Date and Time</translation>
    </message>
    <message>
        <source>界面</source>
        <translation>Screen</translation>
    </message>
    <message>
        <source>用户管理</source>
        <translation>User Management</translation>
    </message>
    <message>
        <source>系统信息</source>
        <translation>System Information</translation>
    </message>
    <message>
        <source>物联网</source>
        <translation>IoT</translation>
    </message>
    <message>
        <source>本地</source>
        <translation>Local</translation>
    </message>
    <message>
        <source>通讯COM%1</source>
        <translation>Communication COM%1</translation>
    </message>
    <message>
        <source>COM%1模式</source>
        <translation>COM%1 Mode</translation>
    </message>
    <message>
        <source>COM%1波特率</source>
        <translation>COM%1 Baud Rate</translation>
    </message>
    <message>
        <source>COM%1数据位</source>
        <translation>COM%1 Data Bits</translation>
    </message>
    <message>
        <source>COM%1停止位</source>
        <translation>COM%1 Stop Bits</translation>
    </message>
    <message>
        <source>COM%1校验位</source>
        <translation>COM%1 Parity</translation>
    </message>
    <message>
        <source>COM%1错误码</source>
        <translation>COM%1 Error Code</translation>
    </message>
    <message>
        <source>COM%1错误次数</source>
        <translation>COM%1 Error Count</translation>
    </message>
    <message>
        <source>COM%1累计错误次数</source>
        <translation>COM%1 Total Error Count</translation>
    </message>
    <message>
        <source>%1（第 %2 行，第 %3 列）</source>
        <translation>%1 (line %2, column %3)</translation>
    </message>
    <message>
        <source>没有 %1 元素</source>
        <translation>no %1 element</translation>
    </message>
    <message>
        <source>内置表 %1 未能载入：%2</source>
        <translation>The built-in table %1 could not be loaded: %2</translation>
    </message>
</context>
<context>
    <name>MainActions</name>
    <message>
        <source>新建工程(&amp;N)</source>
        <translation>&amp;New project</translation>
    </message>
    <message>
        <source>打开工程(&amp;O)</source>
        <translation>&amp;Open project</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>关闭工程(&amp;C)</source>
        <translation>&amp;Close project</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>另存为(&amp;A)</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>打开工程目录</source>
        <translation>Open Project Dir</translation>
    </message>
    <message>
        <source>退出(&amp;Q)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>恢复</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>撤销 %1</source>
        <translation>Undo %1</translation>
    </message>
    <message>
        <source>恢复 %1</source>
        <translation>Redo %1</translation>
    </message>
    <message>
        <source>复制(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>粘贴(&amp;P)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>剪切(&amp;T)</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>删除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>查找(&amp;F)</source>
        <translation>&amp;Find</translation>
    </message>
    <message>
        <source>放大</source>
        <translation>Zoom In</translation>
    </message>
    <message>
        <source>缩小</source>
        <translation>Zoom Out</translation>
    </message>
    <message>
        <source>左对齐</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>右对齐</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>上对齐</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>下对齐</source>
        <translation>Bottom</translation>
    </message>
    <message>
        <source>垂直居中对齐</source>
        <translation>Vertical Center</translation>
    </message>
    <message>
        <source>水平居中对齐</source>
        <translation>Horizontal Center</translation>
    </message>
    <message>
        <source>水平均分</source>
        <translation>Horizontal Average</translation>
    </message>
    <message>
        <source>垂直均分</source>
        <translation>Vertical Average</translation>
    </message>
    <message>
        <source>等高</source>
        <translation>Height Same</translation>
    </message>
    <message>
        <source>等宽</source>
        <translation>Width Same</translation>
    </message>
    <message>
        <source>等尺寸</source>
        <translation>Size Same</translation>
    </message>
    <message>
        <source>上移一层</source>
        <translation>Move Forward</translation>
    </message>
    <message>
        <source>下移一层</source>
        <translation>Move Backward</translation>
    </message>
    <message>
        <source>置于顶层</source>
        <translation>Bring To Front</translation>
    </message>
    <message>
        <source>置于底层</source>
        <translation>Bring To Back</translation>
    </message>
    <message>
        <source>组合</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>取消组合</source>
        <translation>UnGroup</translation>
    </message>
    <message>
        <source>设置(&amp;S)</source>
        <translation>&amp;Set</translation>
    </message>
    <message>
        <source>工程配置</source>
        <translation>Project Config</translation>
    </message>
    <message>
        <source>文本标签库</source>
        <translation>Text Library</translation>
    </message>
    <message>
        <source>地址标签库</source>
        <translation>Address Library</translation>
    </message>
    <message>
        <source>编译</source>
        <translation>Compile</translation>
    </message>
    <message>
        <source>离线仿真</source>
        <translation>Offline Simulation</translation>
    </message>
    <message>
        <source>在线仿真</source>
        <translation>Online Simulation</translation>
    </message>
    <message>
        <source>下载</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>上载</source>
        <translation>Upload</translation>
    </message>
    <message>
        <source>属性</source>
        <translation>Property</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>关于(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>工程(&amp;P)</source>
        <translation>&amp;Project</translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>格式(&amp;F)</source>
        <translation>&amp;Format</translation>
    </message>
    <message>
        <source>编译(&amp;M)</source>
        <translation>&amp;Compiler</translation>
    </message>
    <message>
        <source>选项(&amp;O)</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>工程</source>
        <translation>Project</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>视图</source>
        <translation>View</translation>
    </message>
    <message>
        <source>对齐</source>
        <translation>Align</translation>
    </message>
    <message>
        <source>选项</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>最近工程(&amp;J)</source>
        <translation>&amp;Recent projects</translation>
    </message>
    <message>
        <source>对齐(&amp;A)</source>
        <translation>&amp;Align</translation>
    </message>
    <message>
        <source>布置(&amp;P)</source>
        <translation>&amp;Distribute</translation>
    </message>
    <message>
        <source>尺寸(&amp;S)</source>
        <translation>&amp;Size</translation>
    </message>
    <message>
        <source>排列(&amp;N)</source>
        <translation>&amp;Order</translation>
    </message>
    <message>
        <source>组合(&amp;G)</source>
        <translation>&amp;Group</translation>
    </message>
    <message>
        <source>显示数据标记</source>
        <translation>Show Data Markers</translation>
    </message>
    <message>
        <source>视图(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
</context>
<context>
    <name>PanelCommands</name>
    <message>
        <source>“%1”需要连接的操作面板，当前没有连接。</source>
        <translation>&quot;%1&quot; needs a connected panel; none is connected.</translation>
    </message>
</context>
<context>
    <name>HelpCommands</name>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Marovin 操作面板组态编辑器</source>
        <translation>Marovin Operator Panel Configuration Editor</translation>
    </message>
    <message>
        <source>版本 %1，构建于 %2</source>
        <translation>Version %1, built on %2</translation>
    </message>
    <message>
        <source>Qt 版本 %1</source>
        <translation>Qt version %1</translation>
    </message>
    <message>
        <source>随附的库及其许可证：</source>
        <translation>Libraries shipped with it and their licences:</translation>
    </message>
    <message>
        <source>本程序是自由软件，依照 GNU 通用公共许可证第 3 版或（由你选择）任何更新版本发布，不提供任何担保。许可证全文见 https://www.gnu.org/licenses/gpl-3.0.html 。</source>
        <translation>This program is free software, released under the GNU General Public License, version 3 or (at your option) any later version, without any warranty. The full licence is at https://www.gnu.org/licenses/gpl-3.0.html .</translation>
    </message>
</context>
<context>
    <name>PictureLoader</name>
    <message>
        <source>文件不存在</source>
        <translation>The file does not exist</translation>
    </message>
    <message>
        <source>不是可读的 PNG、JPEG 或 SVG 图片</source>
        <translation>Not a readable PNG, JPEG or SVG picture</translation>
    </message>
    <message>
        <source>图片太大</source>
        <translation>The picture is too large</translation>
    </message>
    <message>
        <source>SVG 图片中含有其他图片，不予显示</source>
        <translation>The SVG picture holds other pictures and is not shown</translation>
    </message>
</context>
<context>
    <name>PictureFiles</name>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>无法在工程文件夹 %1 中建立 images 文件夹</source>
        <translation>Cannot make the images folder in the project folder %1</translation>
    </message>
    <message>
        <source>无法把 %1 复制到 %2</source>
        <translation>Cannot copy %1 to %2</translation>
    </message>
    <message>
        <source>images 文件夹中没有空闲的文件名</source>
        <translation>No free file name is left in the images folder</translation>
    </message>
</context>
<context>
    <name>BindingDialog</name>
    <message>
        <source>颜色选择</source>
        <translation>Select Color</translation>
    </message>
    <message>
        <source>选择图片</source>
        <translation>Choose Picture</translation>
    </message>
    <message>
        <source>图片 (*.png *.jpg *.jpeg *.svg);;All files(*.*)</source>
        <translation>Pictures (*.png *.jpg *.jpeg *.svg);;All files(*.*)</translation>
    </message>
    <message>
        <source>提醒</source>
        <translation>Reminder</translation>
    </message>
    <message>
        <source>图片未能加入工程：%1</source>
        <translation>The picture could not be added to the project: %1</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>请填写数字：%1</source>
        <translation>Enter a number: %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>颜色第 %1 行</source>
        <translation>colour row %1</translation>
    </message>
    <message>
        <source>数据</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>地址</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>整数位数</source>
        <translation>Integer digits</translation>
    </message>
    <message>
        <source>小数位数</source>
        <translation>Decimals</translation>
    </message>
    <message>
        <source>比例</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>偏移</source>
        <translation>Offset</translation>
    </message>
    <message>
        <source>单位</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>最小值</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>最大值</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>文本标签</source>
        <translation>Text tag</translation>
    </message>
    <message>
        <source>其他值显示状态</source>
        <translation>State for other values</translation>
    </message>
    <message>
        <source>条件</source>
        <translation>Condition</translation>
    </message>
    <message>
        <source>值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>范围上限</source>
        <translation>Range end</translation>
    </message>
    <message>
        <source>动作</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>值或步长</source>
        <translation>Value or step</translation>
    </message>
    <message>
        <source>画面</source>
        <translation>Screen</translation>
    </message>
    <message>
        <source>位为 1</source>
        <translation>Bit set</translation>
    </message>
    <message>
        <source>位为 0</source>
        <translation>Bit clear</translation>
    </message>
    <message>
        <source>等于</source>
        <translation>Equal to</translation>
    </message>
    <message>
        <source>不等于</source>
        <translation>Not equal to</translation>
    </message>
    <message>
        <source>在范围内</source>
        <translation>Within range</translation>
    </message>
    <message>
        <source>置位</source>
        <translation>Set bit</translation>
    </message>
    <message>
        <source>复位</source>
        <translation>Reset bit</translation>
    </message>
    <message>
        <source>取反</source>
        <translation>Toggle bit</translation>
    </message>
    <message>
        <source>点动</source>
        <translation>Momentary</translation>
    </message>
    <message>
        <source>写入常数</source>
        <translation>Write constant</translation>
    </message>
    <message>
        <source>加</source>
        <translation>Add step</translation>
    </message>
    <message>
        <source>减</source>
        <translation>Subtract step</translation>
    </message>
    <message>
        <source>切换画面</source>
        <translation>Switch screen</translation>
    </message>
    <message>
        <source>打开窗口</source>
        <translation>Open window</translation>
    </message>
    <message>
        <source>关闭窗口</source>
        <translation>Close window</translation>
    </message>
    <message>
        <source>从</source>
        <translation>From</translation>
    </message>
    <message>
        <source>到</source>
        <translation>To</translation>
    </message>
    <message>
        <source>填充色</source>
        <translation>Fill</translation>
    </message>
    <message>
        <source>线条色</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>文字色</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>闪烁</source>
        <translation>Blink</translation>
    </message>
    <message>
        <source>双击颜色格选择颜色</source>
        <translation>Double-click a colour cell to choose the colour</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>最小值大于最大值，没有值能通过，请交换或改正。</source>
        <translation>The minimum is greater than the maximum, so no value gets through. Swap or correct them.</translation>
    </message>
    <message>
        <source>值大于范围上限，没有值在范围内，请交换或改正。</source>
        <translation>The value is greater than the end of the range, so no value lies in the range. Swap or correct them.</translation>
    </message>
</context>
<context>
    <name>BindingListPage</name>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>上移</source>
        <translation>Move Up</translation>
    </message>
    <message>
        <source>下移</source>
        <translation>Move Down</translation>
    </message>
</context>
<context>
    <name>TagUsesModel</name>
    <message>
        <source>使用次数</source>
        <translation>Uses</translation>
    </message>
</context>
<context>
    <name>RegisterText</name>
    <message>
        <source>“%1”不是数字</source>
        <translation>&quot;%1&quot; is not a number</translation>
    </message>
    <message>
        <source>期望值“%1”不是数字</source>
        <translation>The expected value &quot;%1&quot; is not a number</translation>
    </message>
</context>
<context>
    <name>Scenario</name>
    <message>
        <source>无法打开 %1：%2</source>
        <translation>Cannot open %1: %2</translation>
    </message>
    <message>
        <source>%1 太大（最多 %2 MB）</source>
        <translation>%1 is too large (at most %2 MB)</translation>
    </message>
    <message>
        <source>无法读取 %1：%2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>文件太大（最多 %1 MB）</source>
        <translation>The file is too large (at most %1 MB)</translation>
    </message>
    <message>
        <source>文件既不是 UTF-8 也不是 GBK 文本</source>
        <translation>The file is neither UTF-8 nor GBK text</translation>
    </message>
    <message>
        <source>第 %1 行：引号没有闭合</source>
        <translation>Line %1: a quote is never closed</translation>
    </message>
    <message>
        <source>第 %1 行：第一行应为标题行“%2”</source>
        <translation>Line %1: the first row must be the header row &quot;%2&quot;</translation>
    </message>
    <message>
        <source>第 %1 行：步骤太多（最多 %2 步）</source>
        <translation>Line %1: too many steps (at most %2)</translation>
    </message>
    <message>
        <source>文件是空的，缺少标题行“%1”</source>
        <translation>The file is empty; the header row &quot;%1&quot; is missing</translation>
    </message>
    <message>
        <source>第 %1 行：%2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message>
        <source>多余的列：%1</source>
        <translation>extra columns: %1</translation>
    </message>
    <message>
        <source>时间“%1”不是秒数</source>
        <translation>the time &quot;%1&quot; is not a number of seconds</translation>
    </message>
    <message>
        <source>时间 %1 超过上限 %2 秒</source>
        <translation>the time %1 is past the limit of %2 seconds</translation>
    </message>
    <message>
        <source>时间 %1 早于上一行的 %2</source>
        <translation>the time %1 is before the %2 of the row before</translation>
    </message>
    <message>
        <source>缺少动作（%1）</source>
        <translation>missing action (%1)</translation>
    </message>
    <message>
        <source>未知动作“%1”（可用的动作：%2）</source>
        <translation>unknown action &quot;%1&quot; (the actions: %2)</translation>
    </message>
    <message>
        <source>%1 需要目标</source>
        <translation>%1 needs a target</translation>
    </message>
    <message>
        <source>%1 不接受值</source>
        <translation>%1 takes no value</translation>
    </message>
    <message>
        <source>wait 不接受目标和值</source>
        <translation>wait takes no target and no value</translation>
    </message>
    <message>
        <source>snapshot 不接受目标，图片文件名写在值一列</source>
        <translation>snapshot takes no target; the picture&apos;s file name goes in the value column</translation>
    </message>
    <message>
        <source>图片文件名“%1”不能含路径，也不能以点开头</source>
        <translation>the picture&apos;s file name &quot;%1&quot; must hold no path and not begin with a dot</translation>
    </message>
</context>
<context>
    <name>ScenarioRunner</name>
    <message>
        <source>项目没有基本画面，无法运行</source>
        <translation>The project has no base screen to run</translation>
    </message>
    <message>
        <source>“%1”既不是标签或地址（%2），也不是显示的画面上的图形</source>
        <translation>&quot;%1&quot; is neither a tag or address (%2) nor a shape on the screens shown</translation>
    </message>
    <message>
        <source>显示的画面上没有名为“%1”的图形</source>
        <translation>no shape called &quot;%1&quot; on the screens shown</translation>
    </message>
    <message>
        <source>无法读取“%1”</source>
        <translation>cannot read &quot;%1&quot;</translation>
    </message>
    <message>
        <source>期望 %1，实际为 %2</source>
        <translation>expected %1, actual %2</translation>
    </message>
    <message>
        <source>期望显示“%1”，实际显示“%2”</source>
        <translation>expected to show &quot;%1&quot;, shows &quot;%2&quot;</translation>
    </message>
    <message>
        <source>期望画面 %1，显示的是 %2</source>
        <translation>expected the screen %1, shown is %2</translation>
    </message>
    <message>
        <source>期望画面 %1，显示的是 %2（基本画面 + 打开的窗口）</source>
        <translation>expected the screen %1, shown is %2 (base screen + open windows)</translation>
    </message>
    <message>
        <source>snapshot 需要输出文件夹</source>
        <translation>snapshot needs an output folder</translation>
    </message>
    <message>
        <source>无法写入 %1：%2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>第 %1 行（%2）：%3</source>
        <translation>Line %1 (%2): %3</translation>
    </message>
</context>
<context>
    <name>SimulateCommand</name>
    <message>
        <source>缺少项目文件</source>
        <translation>Missing project file</translation>
    </message>
    <message>
        <source>缺少场景文件</source>
        <translation>Missing scenario file</translation>
    </message>
    <message>
        <source>多余的参数：%1</source>
        <translation>Extra arguments: %1</translation>
    </message>
    <message>
        <source>-o 需要文件夹</source>
        <translation>-o needs a folder</translation>
    </message>
    <message>
        <source>%1 第 %2 行的 snapshot 需要 -o 文件夹</source>
        <translation>%1, line %2: snapshot needs a folder given with -o</translation>
    </message>
    <message>
        <source>无法创建文件夹 %1</source>
        <translation>Cannot create the folder %1</translation>
    </message>
    <message>
        <source>%1 没有基本画面，无法运行</source>
        <translation>%1 has no base screen to run</translation>
    </message>
    <message>
        <source>%1，%2</source>
        <translation>%1, %2</translation>
    </message>
    <message numerus="yes">
        <source>%n 步</source>
        <translation>
            <numerusform>%n step</numerusform>
            <numerusform>%n steps</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 项期望</source>
        <translation>
            <numerusform>%n expectation</numerusform>
            <numerusform>%n expectations</numerusform>
        </translation>
    </message>
    <message>
        <source>通过：%1</source>
        <translation>Passed: %1</translation>
    </message>
    <message>
        <source>失败：%1</source>
        <translation>Failed: %1</translation>
    </message>
</context>
<context>
    <name>Generator</name>
    <message>
        <source>常数</source>
        <translation>Constant</translation>
    </message>
    <message>
        <source>斜坡</source>
        <translation>Ramp</translation>
    </message>
    <message>
        <source>正弦</source>
        <translation>Sine</translation>
    </message>
    <message>
        <source>方波</source>
        <translation>Square</translation>
    </message>
    <message>
        <source>随机</source>
        <translation>Random</translation>
    </message>
    <message>
        <source>列表</source>
        <translation>List</translation>
    </message>
</context>
<context>
    <name>RegisterMemory</name>
    <message>
        <source>没有编号为 %1 的设备</source>
        <translation>There is no device number %1</translation>
    </message>
    <message>
        <source>设备 %1 没有第 %2 个寄存器区</source>
        <translation>Device %1 has no register area number %2</translation>
    </message>
    <message>
        <source>数据类型 %1 未知</source>
        <translation>Unknown data type %1</translation>
    </message>
    <message>
        <source>文字的长度为 0 字节</source>
        <translation>The text is 0 bytes long</translation>
    </message>
    <message>
        <source>%1 %2 没有第 %3 位：一个字只有 0 到 15 位</source>
        <translation>%1 %2 has no bit %3: a word has bits 0 to 15 only</translation>
    </message>
    <message>
        <source>%1 %2 不在寄存器区内</source>
        <translation>%1 %2 lies outside the register area</translation>
    </message>
    <message>
        <source>%1 %2 到 %3 不全在寄存器区内</source>
        <translation>%1 %2 to %3 do not all lie in the register area</translation>
    </message>
    <message>
        <source>项目已关闭</source>
        <translation>The project is closed</translation>
    </message>
    <message>
        <source>绑定没有数据来源</source>
        <translation>The binding has no source</translation>
    </message>
    <message>
        <source>地址标签“%1”不存在</source>
        <translation>The address tag “%1” does not exist</translation>
    </message>
    <message>
        <source>地址标签“%1”的设备、数据类型或地址无效</source>
        <translation>The address tag “%1” has an invalid device, data type or address</translation>
    </message>
    <message>
        <source>设备“%1”不存在</source>
        <translation>The device “%1” does not exist</translation>
    </message>
    <message>
        <source>数据类型“%1”无效</source>
        <translation>The data type “%1” is not valid</translation>
    </message>
    <message>
        <source>地址“%1”无效</source>
        <translation>The address “%1” is not valid</translation>
    </message>
    <message>
        <source>没有给出地址</source>
        <translation>No address given</translation>
    </message>
    <message>
        <source>“%1”既不是地址标签，也没有名为“%2”的设备</source>
        <translation>“%1” is no address tag, and there is no device named “%2”</translation>
    </message>
    <message>
        <source>“%1”既不是地址标签，也不是地址</source>
        <translation>“%1” is neither an address tag nor an address</translation>
    </message>
    <message>
        <source>只有 String 带长度：“%1”</source>
        <translation>Only String takes a length: “%1”</translation>
    </message>
    <message>
        <source>文字长度 %1 不在 1 到 255 之间</source>
        <translation>The text length %1 is not between 1 and 255</translation>
    </message>
    <message>
        <source>String 要写出长度（字节数），例如“%1(String 20)”</source>
        <translation>String needs its length in bytes, for example “%1(String 20)”</translation>
    </message>
    <message>
        <source>“%1”是位地址，要写出位号，例如“%2_0”</source>
        <translation>“%1” is a bit address and needs its bit number, for example “%2_0”</translation>
    </message>
    <message>
        <source>“%1”不是 %2 的地址，或与数据类型 %3 不符</source>
        <translation>“%1” is not an address of %2, or does not suit the data type %3</translation>
    </message>
    <message>
        <source>日期和时间寄存器跟随时钟，不能写入</source>
        <translation>The date and time registers follow the clock and cannot be written</translation>
    </message>
    <message>
        <source>“%1”不是数字</source>
        <translation>“%1” is not a number</translation>
    </message>
    <message>
        <source>Bool 只取 0 或 1，不取 %1</source>
        <translation>Bool takes 0 or 1 only, not %1</translation>
    </message>
    <message>
        <source>%1 超出 Float 的范围</source>
        <translation>%1 is beyond the range of Float</translation>
    </message>
    <message>
        <source>%1 超出 %2 的范围 %3 到 %4</source>
        <translation>%1 is beyond the range of %2, %3 to %4</translation>
    </message>
</context>
<context>
    <name>ValueText</name>
    <message>
        <source>只能输入 0 或 1</source>
        <translation>Enter 0 or 1</translation>
    </message>
    <message>
        <source>“%1”不是数字</source>
        <translation>“%1” is not a number</translation>
    </message>
    <message>
        <source>%1 不在 %2 到 %3 之间</source>
        <translation>%1 is not between %2 and %3</translation>
    </message>
    <message>
        <source>比例为 0，输入的值无法换算</source>
        <translation>The scale is 0: the value entered cannot be converted</translation>
    </message>
    <message>
        <source>“%1”换算后超出范围</source>
        <translation>“%1” is out of range once converted</translation>
    </message>
</context>
<context>
    <name>WatchModel</name>
    <message>
        <source>列表发生器的数值，以分号分隔</source>
        <translation>The list generator&apos;s values, separated by semicolons</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>数值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>设定</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>发生器</source>
        <translation>Generator</translation>
    </message>
    <message>
        <source>最小值</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>最大值</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>周期(秒)</source>
        <translation>Period (s)</translation>
    </message>
    <message>
        <source>种子</source>
        <translation>Seed</translation>
    </message>
    <message>
        <source>列表</source>
        <translation>List</translation>
    </message>
    <message>
        <source>“%1”不是发生器的种类。</source>
        <translation>&quot;%1&quot; is not a kind of generator.</translation>
    </message>
    <message>
        <source>列表最多可有%1个数值。</source>
        <translation>A list holds at most %1 values.</translation>
    </message>
    <message>
        <source>“%1”不是数值。</source>
        <translation>&quot;%1&quot; is not a number.</translation>
    </message>
    <message>
        <source>种子须为非负整数。</source>
        <translation>The seed must be a whole number, 0 or more.</translation>
    </message>
    <message>
        <source>周期须大于0秒。</source>
        <translation>The period must be longer than 0 seconds.</translation>
    </message>
    <message>
        <source>请输入变量名称或地址。</source>
        <translation>Enter a tag name or an address.</translation>
    </message>
    <message>
        <source>无法监视“%1”：%2</source>
        <translation>Cannot watch &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>“%1”不能设为“%2”：%3</source>
        <translation>&quot;%1&quot; cannot be set to &quot;%2&quot;: %3</translation>
    </message>
</context>
<context>
    <name>WatchPanel</name>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>变量名称或地址，如 LW 100</source>
        <translation>Tag name or address, e.g. LW 100</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>单步</source>
        <translation>Step</translation>
    </message>
</context>
<context>
    <name>SimulationView</name>
    <message>
        <source>输入数值</source>
        <translation>Enter Value</translation>
    </message>
    <message>
        <source>“%1”的选项序号（从0起）：</source>
        <translation>Entry number of &quot;%1&quot; (from 0):</translation>
    </message>
    <message>
        <source>“%1”的数值：</source>
        <translation>Value of &quot;%1&quot;:</translation>
    </message>
    <message>
        <source>“%1”不是选项序号。</source>
        <translation>&quot;%1&quot; is not an entry number.</translation>
    </message>
    <message>
        <source>“%1”未被接受。</source>
        <translation>&quot;%1&quot; was not accepted.</translation>
    </message>
</context>
<context>
    <name>SimulationWindow</name>
    <message>
        <source>工程没有基本画面，无法仿真。</source>
        <translation>The project has no base screen to simulate.</translation>
    </message>
    <message>
        <source>正在录制操作。</source>
        <translation>Recording operator actions.</translation>
    </message>
    <message>
        <source>保存仿真场景</source>
        <translation>Save Simulation Scenario</translation>
    </message>
    <message>
        <source>仿真场景 (*.csv)</source>
        <translation>Simulation scenarios (*.csv)</translation>
    </message>
    <message>
        <source>录制的操作未保存。</source>
        <translation>The recorded actions were not saved.</translation>
    </message>
    <message>
        <source>无法保存“%1”：%2</source>
        <translation>Cannot save &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>已保存仿真场景“%1”。</source>
        <translation>Saved the simulation scenario &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>语言%1</source>
        <translation>Language %1</translation>
    </message>
    <message>
        <source>离线仿真</source>
        <translation>Offline Simulation</translation>
    </message>
    <message>
        <source>离线仿真 - %1</source>
        <translation>Offline Simulation - %1</translation>
    </message>
    <message>
        <source>从第一个基本画面开始</source>
        <translation>Start at the first base screen</translation>
    </message>
    <message>
        <source>从正在编辑的画面开始</source>
        <translation>Start at the screen being edited</translation>
    </message>
    <message>
        <source>重新开始</source>
        <translation>Restart</translation>
    </message>
    <message>
        <source>重新开始仿真，寄存器清零</source>
        <translation>Restart the simulation with all registers cleared</translation>
    </message>
    <message>
        <source>录制</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>录制操作，停止时保存为仿真场景</source>
        <translation>Record operator actions; stopping saves them as a scenario</translation>
    </message>
    <message>
        <source>显示语言</source>
        <translation>Display language</translation>
    </message>
    <message>
        <source>监视</source>
        <translation>Watch</translation>
    </message>
</context>
</TS>
