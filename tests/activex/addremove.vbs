' A script client of QuorralSet.AddRemove: fills and reads both lists,
' assigns and reads the whole-list texts, captures the lists and checks
' that a bad index fails. Exits with the number of failed checks.
Option Explicit

Dim failures
failures = 0

Sub Check(condition, what)
  If Not condition Then
    WScript.Echo "FAILED: " & what
    failures = failures + 1
  End If
End Sub

Dim ar
Set ar = CreateObject("QuorralSet.AddRemove")
Check TypeName(ar) = "_AddRemove", "TypeName is " & TypeName(ar)

ar.LAddItem "Red"
ar.LAddItem "Blue"
ar.LAddItem "Green", 1
ar.RAddItem "X"
ar.RAddItem "Y", 0
ar.LItemData(0) = 5
ar.LItemData(2) = -7
ar.RItemData(1) = 42

Check ar.Llist(0) = "Red", "Llist(0) is " & ar.Llist(0)
Check ar.Llist(1) = "Green", "Llist(1) is " & ar.Llist(1)
Check ar.Llist(2) = "Blue", "Llist(2) is " & ar.Llist(2)
Check ar.RList(0) = "Y", "RList(0) is " & ar.RList(0)
Check ar.RList(1) = "X", "RList(1) is " & ar.RList(1)
Check ar.LItemData(0) = 5, "LItemData(0) is " & ar.LItemData(0)
Check ar.LItemData(1) = 0, "LItemData(1) is " & ar.LItemData(1)
Check ar.LItemData(2) = -7, "LItemData(2) is " & ar.LItemData(2)
Check ar.RItemData(1) = 42, "RItemData(1) is " & ar.RItemData(1)

ar.Llist(1) = "Lime"
Check ar.Llist(1) = "Lime", "Llist(1) after assignment is " & ar.Llist(1)
ar.LRemoveItem 1
Check ar.Llist(1) = "Blue", "Llist(1) after LRemoveItem is " & ar.Llist(1)

' The texts change only by assignment or Save_Lists.
Check ar.LeftList = "LeftList", "LeftList before Save_Lists is " & ar.LeftList
ar.Save_Lists
Check ar.LeftList = "Red" & vbCrLf & "Blue", "LeftList after Save_Lists is " & ar.LeftList
Check ar.LeftListItemData = "5" & vbCrLf & "-7", "LeftListItemData is " & ar.LeftListItemData
Check ar.RightList = "Y" & vbCrLf & "X", "RightList is " & ar.RightList
Check ar.RightListItemData = "0" & vbCrLf & "42", "RightListItemData is " & ar.RightListItemData

' Assigning LeftList reloads both lists from the texts.
ar.LeftListItemData = "1" & vbCrLf & "2" & vbCrLf & "3"
ar.LeftList = "a" & vbCrLf & "b" & vbCrLf & "c"
Check ar.LeftList = "a" & vbCrLf & "b" & vbCrLf & "c", "LeftList read back is " & ar.LeftList
Check ar.Llist(2) = "c", "Llist(2) after LeftList is " & ar.Llist(2)
Check ar.LItemData(1) = 2, "LItemData(1) after LeftList is " & ar.LItemData(1)
Check ar.RList(0) = "Y", "RList(0) after reload is " & ar.RList(0)

ar.LTitle = "Chosen"
Check ar.LTitle = "Chosen", "LTitle is " & ar.LTitle
ar.Orientation = 1
Check ar.Orientation = 1, "Orientation is " & ar.Orientation
Check ar.ShowTitles = True, "ShowTitles is " & ar.ShowTitles

On Error Resume Next
Dim text
text = ar.Llist(99)
Check Err.Number = 381, "Llist(99) gave error " & Err.Number & " " & Err.Description
Err.Clear
ar.BackStyle = 5
Check Err.Number = 380, "BackStyle = 5 gave error " & Err.Number
Err.Clear
ar.RRemoveItem 10
Check Err.Number <> 0, "RRemoveItem 10 gave no error"
Err.Clear
On Error GoTo 0

If failures = 0 Then WScript.Echo "addremove.vbs: all checks passed"
WScript.Quit failures
