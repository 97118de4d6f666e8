<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>AddressLibDialog</name>
    <message>
        <source>地址标签库</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <source>微软雅黑</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>提示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>检测到软件上次异常崩溃，是否打开之前工程文件？
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>是(&amp;Y)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>否(&amp;N)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Config</name>
    <message>
        <source>名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设备</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>地址</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>类型</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>长度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>备注</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>基本</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>边框</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>填充</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文本</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>实线</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>虚线</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>点线</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>点划线</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>双点划线</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>扇形</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>圆弧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>弦</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>偶校验</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>奇校验</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>年</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>月</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>时</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>分</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>秒</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>星期</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>当前页面Id</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>起始页面Id</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>触摸屏X位置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>触摸屏Y位置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>当前用户名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>当前用户组</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>当前用户权限级别</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>当前语言</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>内存使用率</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CPU使用率</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>背光亮度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关闭背光时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>进入屏保时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>开机运行时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系统版本</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>应用版本</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SIM状态</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SIM信号强度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系统时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>界面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>用户管理</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系统信息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>物联网</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>本地</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>通讯COM%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM%1模式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM%1波特率</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM%1数据位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM%1停止位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM%1校验位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM%1错误码</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM%1错误次数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM%1累计错误次数</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DockManager</name>
    <message>
        <source>工程</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>元件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工具箱</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>属性浏览</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>编译输出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>查找输出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>应用输出</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FirstPage</name>
    <message>
        <source>工程</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>示例</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>最近工程：</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ItemsTable</name>
    <message>
        <source>名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>类型</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>新建工程(&amp;N)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开工程(&amp;O)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>清除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关闭工程(&amp;C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>另存为(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开工程目录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出(&amp;Q)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>撤销</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>恢复</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>复制(&amp;C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>粘贴(&amp;P)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>剪切(&amp;T)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>删除(&amp;D)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>查找(&amp;F)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>放大</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>缩小</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>左对齐</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>右对齐</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上对齐</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下对齐</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>垂直居中对齐</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>水平居中对齐</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>水平均分</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>垂直均分</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>等高</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>等宽</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>等尺寸</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上移一层</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下移一层</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>置于顶层</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>置于底层</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>组合</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消组合</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设置(&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工程配置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文本标签库</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>地址标签库</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>编译</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>离线仿真</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>在线仿真</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下载</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上载</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>属性</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关于(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工程(&amp;P)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>格式(&amp;F)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>编译(&amp;M)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>选项(&amp;O)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工程</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>编辑</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>视图</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>对齐</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>选项</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>最近工程(&amp;J)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>对齐(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>布置(&amp;P)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>尺寸(&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>排列(&amp;N)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>组合(&amp;G)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关于</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Marovin 操作面板组态编辑器
版本 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>是否将改动保存到 %1 工程?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>是(&amp;Y)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>否(&amp;N)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消(&amp;C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>错误</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>读取文件失败 %1。
%2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工程文件打开失败！</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工程文件保存失败！</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开工程文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工程文件(*%1);;All files(*.*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>工程另存为</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存为 (*%1)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NewProjectDialog</name>
    <message>
        <source>创建新工程</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProjectConfigDialog</name>
    <message>
        <source>工程配置</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProjectTree</name>
    <message>
        <source>画面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>基础画面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>添加基础画面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>窗口画面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>添加窗口画面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>模板画面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>添加模板画面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>脚本</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>添加脚本</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PropertyDialog</name>
    <message>
        <source>属性</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PropertyRegistry</name>
    <message>
        <source>名称</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>透明度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>z值</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>固定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>旋转</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>位置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>宽度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>高度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>线宽</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>线样式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>线颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>样式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X半径</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y半径</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>起始角度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>角度大小</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>形状</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>背景颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>水平对齐</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>垂直对齐</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>字体颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>字体</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>前景颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>填充样式</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PropertyTreeBrowser</name>
    <message>
        <source>属性</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>值</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TextLibDialog</name>
    <message>
        <source>文本标签库</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolBoxForm</name>
    <message>
        <source>选择</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>旋转</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>连续插入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>列表模式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图形</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>对象</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图库</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>线条</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>矩形</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>圆角矩形</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>椭圆</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>多边形</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>折线</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>曲线</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文本</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图片</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>标签</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>按钮</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下拉框</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>单选框</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>复选框</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>单行文本</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>多行文本</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数值框</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
