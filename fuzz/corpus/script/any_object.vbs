Sub Main
Set a = CreateObject("Any")
If Not a.Nothing Is Nothing Then a.X 1, "t""q" & 2 Else b = -(1 + 2) - 3
If a Is a And 1 <= 2 Or "x" <> "y" Then
Call a.Child.Go(a, (1), _
 2) : Rem done
Else
Fail
End If
Call Main
End Sub
Sub Other()
x = a.Fail(1)
End Sub
