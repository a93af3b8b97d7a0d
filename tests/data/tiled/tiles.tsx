<?xml version="1.0" encoding="UTF-8"?>
<tileset version="1.10" tiledversion="1.10.2" name="tiles" tilewidth="16" tileheight="16" tilecount="4" columns="2">
 <image source="tiles.png" width="32" height="32"/>
 <tile id="2" type="water">
  <properties>
   <property name="wet" type="bool" value="true"/>
  </properties>
 </tile>
</tileset>
