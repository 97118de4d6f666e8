<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>MainActions</name>
    <message>
        <source>工程(&amp;P)</source>
        <translation>&amp;Local catalogue</translation>
    </message>
</context>
</TS>
